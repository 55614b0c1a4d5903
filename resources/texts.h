// The texts the player reads, in UTF-8, as tolvi.rc has them: the native and browser
// programs both take them from here. '&' marks an access key, as in a resource script.
#pragma once

#include "resources/resource.h"

namespace tolvi {

// Menu 101, in order; a command in a popup belongs to the popup before it.
enum class MenuPlace { kPopupInBar, kCommandInPopup, kCommandInBar, kSeparatorInBar };

struct MenuEntry {
  MenuPlace place;
  const char* text;
  int command;
};

constexpr MenuEntry kMenu[] = {
    {MenuPlace::kPopupInBar, "Game", 0},
    {MenuPlace::kCommandInPopup, "Start(F1)", IDM_START},
    {MenuPlace::kCommandInPopup, "終了(Esc)", IDM_QUIT},
    {MenuPlace::kSeparatorInBar, nullptr, 0},
    {MenuPlace::kCommandInBar, "ユーザ変更", IDM_CHANGE_USER},
    {MenuPlace::kSeparatorInBar, nullptr, 0},
    {MenuPlace::kCommandInBar, "HighScore", IDM_HIGHSCORE},
    {MenuPlace::kCommandInBar, "成績", IDM_PROGRESS},
    {MenuPlace::kPopupInBar, "Help", 0},
    {MenuPlace::kCommandInPopup, "About", IDM_ABOUT},
    {MenuPlace::kCommandInPopup, "Version", IDM_VERSION},
};

// Every dialog's OK button but the result's.
constexpr char kOkText[] = "OK";

constexpr char kNameCaption[] = "Name 入力フォーム";
constexpr char kNamePrompt[] = "名前を入力して下さい。";
constexpr char kNameLabel[] = "名前";
constexpr char kCancelText[] = "ｷｬﾝｾﾙ";

constexpr char kTypingCaption[] = "Tolvi";
constexpr char kQuitText[] = "終了";

constexpr char kResultCaption[] = "今回の記録";
constexpr char kLengthLabel[] = "LENGTH：";
constexpr char kScoreLabel[] = "SCORE：";
constexpr char kResultOkText[] = "OK(&Y)";
constexpr char kRetryText[] = "&Retry";
constexpr char kHighScoreText[] = "&HighScore";

constexpr char kHighScoreCaption[] = "HighScore";
constexpr const char* kRankTexts[] = {"１", "２", "３", "４", "５", "６", "７", "８", "９", "１０"};

constexpr char kAboutCaption[] = "About";
constexpr const char* kAboutLines[] = {"Tolvi：簡単タイピングソフト", "Program: Tolvi developers",
                                       "Title picture: Tolvi developers"};
constexpr char kVersionCaption[] = "Version Info";
constexpr const char* kVersionLines[] = {"Tolvi ", "Version 1.00", "1999/8/23", "Producer: Tolvi"};

// The progress window: its rows' labels in the order of their fields from
// IDC_PROGRESS_GAMES, the notes, and what goes with the numbers.
constexpr char kProgressCaption[] = "成績";
constexpr const char* kProgressLabels[] = {"ゲーム数：",           "最高：",     "直近10回の平均：",
                                           "その前の10回の平均：", "練習時間：", "ミス：",
                                           "よく間違える文字：",   "期間："};
constexpr char kProgressEmpty[] = "まだ記録がありません";
constexpr char kProgressSkipped[] = "読めなかった行：";
constexpr char kProgressChartName[] = "速度の推移";
// The chart's three kinds of marks, as its legend names them.
constexpr const char* kProgressLegend[] = {"速度", "10回の平均", "ミス"};
constexpr char kProgressNone[] = "-----";
constexpr char kProgressMissedItem[] = "「%s」%s";
constexpr char kProgressMissedSeparator[] = "　";
constexpr char kProgressPeriod[] = "%s ～ %s";

constexpr char kMessageCaption[] = "Tolvi";
// The sentence file's name takes the place of %s.
constexpr char kNoSentencesFormat[] = "文章ファイル「%s」から文章を読み込めません。";

}  // namespace tolvi
