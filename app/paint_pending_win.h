#pragma once
// Paints what waits to be painted in the calling thread's windows, without taking a message from
// the queue: a window stays drawn during a long wait, and no event handler runs.
void PaintPendingWindows();
