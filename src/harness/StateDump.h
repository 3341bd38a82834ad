// The game-state record as JSON: field names as in the code, for tools and tests.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>

class TMainForm;

// Keys keep the record's order.
nlohmann::ordered_json DumpState(const TMainForm& Form, int64_t Frame);
// One line, as the trace writes it.
std::string DumpStateLine(const TMainForm& Form, int64_t Frame);
