#include "controls.h"

#include <array>

namespace {
using C = ControlId;
using K = ControlKind;

// Creation order is tab order, and each label comes just before the control it names, so that a
// screen reader takes the label as that control's name. The renderer moves a row down where a text
// above it needs more lines than at 96 dpi in the design face.
// clang-format off
constexpr auto kDatabasesTable = std::to_array<ControlSpec>({
    {.Id = C::frmDatabases, .Name = "frmDatabases", .Kind = K::Window, .Width = 9000,
     .Height = 7035},
    {.Id = C::lblAnswer, .Name = "lblAnswer", .Kind = K::Label, .Parent = C::frmDatabases,
     .Left = 180, .Top = 150, .Width = 8640, .Height = 225, .Bold = true},
    {.Id = C::txtAnswer, .Name = "txtAnswer", .Kind = K::TextBox, .Parent = C::frmDatabases,
     .Left = 180, .Top = 405, .Width = 8640, .Height = 1950, .TabIndex = 0},
    {.Id = C::lblInventory, .Name = "lblInventory", .Kind = K::Label, .Parent = C::frmDatabases,
     .Left = 180, .Top = 2475, .Width = 8640, .Height = 225, .Bold = true},
    {.Id = C::lvwInventory, .Name = "lvwInventory", .Kind = K::ListView,
     .Parent = C::frmDatabases, .Left = 180, .Top = 2730, .Width = 8640, .Height = 1950,
     .TabIndex = 1},
    {.Id = C::cmdChooseProgram, .Name = "cmdChooseProgram", .Kind = K::Button,
     .Parent = C::frmDatabases, .Left = 6720, .Top = 4800, .Width = 2100, .Height = 345,
     .TabIndex = 2},
    {.Id = C::lblProgram, .Name = "lblProgram", .Kind = K::Label, .Parent = C::frmDatabases,
     .Left = 180, .Top = 4800, .Width = 6420, .Height = 450, .Bold = true},
    {.Id = C::txtProgram, .Name = "txtProgram", .Kind = K::TextBox, .Parent = C::frmDatabases,
     .Left = 180, .Top = 5310, .Width = 8640, .Height = 1050, .TabIndex = 3},
    {.Id = C::cmdCopy, .Name = "cmdCopy", .Kind = K::Button, .Parent = C::frmDatabases,
     .Left = 5460, .Top = 6540, .Width = 1620, .Height = 345, .TabIndex = 4},
    {.Id = C::cmdClose, .Name = "cmdClose", .Kind = K::Button, .Parent = C::frmDatabases,
     .Left = 7200, .Top = 6540, .Width = 1620, .Height = 345, .TabIndex = 5,
     .DefaultButton = true},
});
// clang-format on

static_assert(kDatabasesTable.size() ==
                  static_cast<size_t>(C::DatabasesLast) - static_cast<size_t>(C::frmDatabases),
              "every control id of the window has exactly one row");
} // namespace

std::span<const ControlSpec> DatabasesTable() {
    return kDatabasesTable;
}
