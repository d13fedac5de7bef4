// Text form of call arguments and results for the journal: numbers in their shortest exact
// form ("5", "-1", "0.087266462599716474"), strings quoted, objects "object" or "null",
// arrays "[1, 2, 3]" (a lower bound other than 0 is written as "[lb=1: ...]").
#pragma once

#include "platform/com/com.h"

#include <string>

std::string journalValue(int value);
std::string journalValue(long value);
// Also VARIANT_BOOL, which is 16 bits wide: TRUE reads "-1".
std::string journalValue(short value);
std::string journalValue(double value);
std::string journalValue(const char16_t* text);
std::string journalValue(const VARIANT& value);
std::string journalValue(const IUnknown* object);
// Arrays passed by pointer: only their presence is journalled.
std::string journalValue(const BSTR* names);
std::string journalValue(const LONG* items);
