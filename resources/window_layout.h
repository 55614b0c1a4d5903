// Where the splash and the main window open, and for how long the splash shows: the same
// in the Windows program and the native one.
#pragma once

namespace tolvi {

constexpr char kMainClass[] = "TOLVI";
constexpr char kMainCaption[] = "Tolvi";
constexpr int kMainX = 300;
constexpr int kMainY = 300;
constexpr int kMainWidth = 300;
constexpr int kMainHeight = 200;

constexpr int kSplashX = 300;
constexpr int kSplashY = 300;
constexpr int kSplashWidth = 300;
constexpr int kSplashHeight = 200;
constexpr int kSplashMillis = 2000;

}  // namespace tolvi
