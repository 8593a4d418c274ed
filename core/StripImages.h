#pragma once
// Positions in the "Icons" strip that the trees and lists show; the strip is drawn by
// scripts/make-icons.py in this order.

inline constexpr int kImageClosedFolder = 0;
inline constexpr int kImageOpenFolder = 1;
inline constexpr int kImageComputer = 2;
inline constexpr int kImageStringValue = 13;
inline constexpr int kImageBinaryValue = 14;
inline constexpr int kImageIntegerValue = 15;

// The system-file trees and lists append the "ICONS2" strip right behind the main strip, before
// any shell icon, so these positions hold in their image list (and in the logs that name them).
inline constexpr int kImageIniFile = 21;
inline constexpr int kImageTextFile = 22;
inline constexpr int kImageSystemEntry = 23;
