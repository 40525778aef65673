#pragma once
// The answer and the inventory in words, as the console prints them and a ticket takes them.
#include <optional>
#include <string>
#include <vector>

#include "bitness/data_access_inventory.h"
#include "bitness/database_answer.h"
#include "bitness/program_answer.h"
#include "text/language.h"

// The per-bitness answer: what a 32-bit (and a 64-bit) program can open, and through what.
std::string AnswerSectionText(const Inventory& inventory, const std::vector<BitnessAnswer>& answers,
                              Language lang);

// A registered component's state in its view: not registered, its file missing, ...
std::string ComponentStateText(const LibraryFile& file, Bitness view, Language lang);
// "Office: Click-to-Run 16.0..., 64-bit, ..." or that none was found.
std::string OfficeText(const OfficeInstall& office, Language lang);
// "Jet", "ACE", or that the driver belongs to another engine.
std::string EngineText(const std::optional<Engine>& family, Language lang);

// The per-bitness answer, then the inventory.
std::string DatabaseAnswerText(const Inventory& inventory,
                               const std::vector<BitnessAnswer>& answers, Language lang);

// Why a route is closed and its remedy, in one sentence each.
std::string ClosedText(const Route& route, Bitness program, bool windows64, Language lang);

// "This program runs as 64-bit. It can open ..." or why it can't be answered; `answer` is the
// per-bitness answer for what it runs as (AnswerFor).
std::string ProgramAnswerText(const std::string& path, const ProgramAnswer& program,
                              const BitnessAnswer* answer, bool windows64, Language lang);
