// The values of Pixorama.ini, section "Pixorama": ExplorerFormats (12
// flags), ExplorerDrives (24 flags, C: first) and Session (the full-screen
// background colour), each as comma-separated decimal integers.
#pragma once

#include <cstdint>
#include <string>

const uint32_t kDefaultBackground = 0x7C7C3F;

// Fills `count` flags from a stored list. An empty or missing value gives
// all 1; a short list is filled up with 1. A value that is not a list of
// decimal integers (stray text, an overlong number) is broken: every flag
// takes its default 1, so a damaged file never switches formats off.
// Values other than 0 count as 1.
void ParseFlagList(const char* text, int* flags, int count);
// "1,0,1,...".
std::string FormatFlagList(const int* flags, int count);

// The background colour from its stored value; a missing, broken or
// out-of-range value gives kDefaultBackground.
uint32_t ParseBackground(const char* text);
std::string FormatBackground(uint32_t colour);   // "%ld"
