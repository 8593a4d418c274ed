#pragma once
// Positions in the "Icons" strip that the trees and lists show; the strip is drawn by
// scripts/make-icons.py in this order.

inline constexpr int kImageClosedFolder = 0;
inline constexpr int kImageOpenFolder = 1;
inline constexpr int kImageComputer = 2;
inline constexpr int kImageStringValue = 13;
inline constexpr int kImageBinaryValue = 14;
inline constexpr int kImageIntegerValue = 15;
