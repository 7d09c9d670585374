#pragma once

#include <cstddef>
#include <cstdint>

// One entry per parser of stored or typed text: it feeds the bytes through
// the parser's public functions and aborts when a property of the result
// does not hold. The libFuzzer targets and the corpus replay test call the
// same entries, so an input that once failed keeps failing the same way.
namespace fuzz {

using Entry = void (*)(const uint8_t *data, size_t size);

struct Target {
    const char *name;   // also the folder of its corpus
    Entry run;
};

void pageText(const uint8_t *data, size_t size);      // page codec, cleanCell
void times(const uint8_t *data, size_t size);         // stored times, time rows
void clipText(const uint8_t *data, size_t size);      // a grid's clip text
void colors(const uint8_t *data, size_t size);        // colour list of a page
void columns(const uint8_t *data, size_t size);       // names and cwidth lists
void setupFields(const uint8_t *data, size_t size);   // typed setup fields
void dates(const uint8_t *data, size_t size);         // date prompts
void amounts(const uint8_t *data, size_t size);       // amounts
void criteria(const uint8_t *data, size_t size);      // find criteria
void selection(const uint8_t *data, size_t size);     // report selection formula
void layouts(const uint8_t *data, size_t size);       // report layout files

inline constexpr Target Targets[] = {
    {"pagetext", pageText},   {"times", times},         {"clip", clipText},
    {"colors", colors},       {"columns", columns},     {"setupfields", setupFields},
    {"dates", dates},         {"amounts", amounts},     {"criteria", criteria},
    {"selection", selection}, {"layout", layouts},
};

} // namespace fuzz
