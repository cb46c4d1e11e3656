// The order in which an NTFS folder lists names, which the POSIX hosts give every listing.
#include "posix/ntfs_name_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace lorvan::posix {
namespace {

// Names in the order an NTFS folder lists them, each with what puts it after the one before.
const std::vector<std::string> kInOrder = {
    " lead.mp3",         // a blank before everything visible
    "01 Track.mp3",
    "01-Track.mp3",      // blank before hyphen
    "1 Track.mp3",
    "10 Track.mp3",      // character by character: "10" before "2"
    "2 Track.mp3",
    "ABC",               // upper and lower case collate together ...
    "abc",               // ... and the bytes decide between equal names
    "abcd",              // a shorter name first
    "A\xc3",             // a sequence cut short: its byte, as the character Ã
    "Bee",               // after "abcd", unlike by bytes
    "zebra",
    "_intro",            // "_" after the capitals all letters become
    "~x",
    "\x80",              // a stray continuation byte
    "\xe0\x80\xaf",      // an overlong "/" is three stray bytes: À, then two controls
    "Äpfel",             // Latin-1 after ASCII
    "äpfel",
    "Été",
    "été",
    "\xe9t\xe9",         // Latin-1 bytes: the same characters, later by their bytes
    "\xed\xa0\x80",      // an encoded surrogate is three stray bytes: Í, then two controls
    "Øre",
    "ßa",                // ß has no capital
    "÷",                 // nor has the division sign
    "ā",                 // Latin Extended-A
    "Āb",
    "ÿ",                 // Ÿ is U+0178
    "\xff",
    "žluť",
    "ș",                 // Romanian
    "άλφα",              // Greek with tonos
    "σa",
    "ςb",                // final sigma is a small Σ too
    "ωμέγα",
    "ёж",                // Ё is U+0401, before А
    "Ария",
    "яблоко",
    "🎵",                // beyond U+FFFF: a surrogate pair, before U+E000
    "\ue000",
    "ａ",                // fullwidth
};

TEST(NtfsNameOrder, NamesCollateAsOnAnNtfsVolumeAndTheOrderIsTotal) {
  for (size_t i = 0; i < kInOrder.size(); ++i) {
    EXPECT_FALSE(NtfsNameLess(kInOrder[i], kInOrder[i])) << kInOrder[i];
    for (size_t j = i + 1; j < kInOrder.size(); ++j) {
      EXPECT_TRUE(NtfsNameLess(kInOrder[i], kInOrder[j])) << kInOrder[i] << " < " << kInOrder[j];
      EXPECT_FALSE(NtfsNameLess(kInOrder[j], kInOrder[i])) << kInOrder[j] << " !< " << kInOrder[i];
    }
  }
}

TEST(NtfsNameOrder, SortingAnyArrangementGivesTheOneOrder) {
  std::vector<std::string> names = kInOrder;
  std::mt19937 shuffle(12);
  for (int round = 0; round < 20; ++round) {
    std::shuffle(names.begin(), names.end(), shuffle);
    SortInNtfsOrder(names);
    ASSERT_EQ(names, kInOrder) << "round " << round;
  }
}

}  // namespace
}  // namespace lorvan::posix
