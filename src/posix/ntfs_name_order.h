#pragma once
// The order in which an NTFS folder lists its entries, for file systems that list in an order
// of their own (ext4 lists by hash): the box's albums play, advance and number from the first
// track on only in name order. Names are UTF-8 byte strings as a POSIX folder holds them.
#include <string>
#include <string_view>
#include <vector>

namespace lorvan::posix {

// The name as NTFS compares it: its UTF-16 code units, each upper-cased by the volume's table
// (here the part of it that covers Latin, Greek and Cyrillic letters), each unit written in
// one to three bytes as UTF-8 writes a value, so that keys compare byte by byte as the units
// do. A byte that starts no valid UTF-8 sequence stands for the character of its value, as
// on the LCD.
std::string NtfsCollationKey(std::string_view name);

// True when a comes before b: by collation key, and names whose keys are equal ("ABC" and
// "abc", which NTFS would not hold side by side) by their bytes, so the order is total and
// the same on every run.
bool NtfsNameLess(std::string_view a, std::string_view b);

// Sorts names into that order.
void SortInNtfsOrder(std::vector<std::string>& names);

}  // namespace lorvan::posix
