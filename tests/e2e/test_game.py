"""Games played on the real tolvi.exe under Wine, with real key presses: a whole game and
its high-score entry, a wrong entry, quitting a prompt, Retry, and no sentence file."""

import datetime
import decimal
import os

import harness
from harness import (ID_OK, ID_SENTENCE, ID_TYPING, entry_fields, parse_date_text,
                     wait_until, write_sentences)

LINE = "The quick brown fox jumps over 13 lazy dogs."
LENGTH = 4 * len(LINE) - 4

# A player's pause before the first sentence, so that the game lasts long against
# the few tens of milliseconds by which the test's view of its start and end lags.
THINK_SECONDS = 2.0
# The program's clock counts whole milliseconds at each end.
CLOCK_SLACK_SECONDS = 0.002
DATE_TOLERANCE = datetime.timedelta(seconds=60)


def round_half_up(value):
    return decimal.Decimal(value).quantize(decimal.Decimal("0.01"), decimal.ROUND_HALF_UP)


class GameTest(harness.TolviTestCase):

    def assert_speed_within(self, shown, started, first_seen, last_sent, result_seen):
        """The program's clock starts after the name dialog's Enter and before the
        first prompt is seen, and stops after the last Enter is sent and before the
        result is seen; so its speed lies between the speeds of those two spans."""
        inner = last_sent - first_seen - CLOCK_SLACK_SECONDS
        outer = result_seen - started + CLOCK_SLACK_SECONDS
        low = decimal.Decimal(LENGTH * 60 / outer) - decimal.Decimal("0.005")
        high = decimal.Decimal(LENGTH * 60 / inner) + decimal.Decimal("0.005")
        value = decimal.Decimal(shown)
        self.assertTrue(low <= value <= high,
                        f"expected SCORE between {low:.3f} and {high:.3f} char/60s "
                        f"(LENGTH {LENGTH} over {outer:.3f} s to {inner:.3f} s); got {shown}")

    def assert_entry(self, data, index, name, shown_speed, finished):
        got_name, score, date = entry_fields(data, index)
        self.assertEqual(got_name, name, f"expected entry {index} name {name!r}; got {got_name!r}")
        self.assertEqual(str(round_half_up(score)), shown_speed,
                         f"expected entry {index} score {score!r} to read {shown_speed} "
                         f"to two decimals")
        when = parse_date_text(date)
        self.assertIsNotNone(when, f"expected entry {index} date as 'Mmm DD HH:MM:SS YYYY'; "
                                   f"got {date!r}")
        self.assertLessEqual(abs(when - finished), DATE_TOLERANCE,
                             f"expected entry {index} date near {finished:%b %d %H:%M:%S %Y}; "
                             f"got {date!r}")

    def test_whole_game_is_shown_and_saved(self):
        write_sentences(self.work, LINE)
        run = self.start()
        run.wait_main_focused()
        self.probe.key("F1")
        started = self.enter_name(run, "Kaori")
        result, first_seen, last_sent, result_seen = self.play_correctly(
            run, LINE, think_seconds=THINK_SECONDS)
        finished = datetime.datetime.now()

        shown = self.read_result(run, result)
        self.assertEqual(shown["name"], "Kaori", f"expected name 'Kaori' in 1007; got {shown['name']!r}")
        self.assertEqual(shown["length"], str(LENGTH),
                         f"expected LENGTH {LENGTH} in 1010; got {shown['length']!r}")
        self.assert_speed_within(shown["speed"], started, first_seen, last_sent, result_seen)
        run.wait_focus_on(result["hwnd"], ID_OK)

        self.probe.key("Return")
        run.wait_gone(result["hwnd"], "the result dialog")
        run.wait_main_focused()

        data = self.read_table()
        self.assert_entry(data, 0, "Kaori", shown["speed"], finished)
        for index in range(1, 10):
            self.assert_default_entry(data, index)
        files = sorted(os.listdir(self.work))
        self.assertEqual(files, ["highscore.dat", "string.dat"],
                         f"expected only the sentence and high-score files; got {files}")
        self.quit_with_escape(run)

    def test_wrong_entry_is_offered_again_and_escape_saves_nothing(self):
        write_sentences(self.work, LINE)
        run = self.start()
        run.wait_main_focused()
        self.probe.key("F1")
        self.enter_name(run, "Kaori")

        seen = []
        for slot in range(2):
            dialog, _ = self.wait_prompt(run, slot, after=seen)
            seen.append(dialog["hwnd"])
            self.answer_prompt(run, dialog, LINE)

        wrong = LINE + " "
        dialog, _ = self.wait_prompt(run, 2, after=seen)
        seen.append(dialog["hwnd"])
        self.answer_prompt(run, dialog, wrong)

        dialog, controls = self.wait_prompt(run, 2, after=seen)
        seen.append(dialog["hwnd"])
        self.assertEqual(controls[ID_SENTENCE]["text"], LINE,
                         f"expected the same sentence again; got {controls[ID_SENTENCE]['text']!r}")
        typing = controls[ID_TYPING]
        self.assertEqual(typing["text"], wrong,
                         f"expected the rejected entry {wrong!r} in 1006; got {typing['text']!r}")
        self.assertEqual(typing["sel"], [0, len(wrong)],
                         f"expected the rejected entry selected, 0 to {len(wrong)}; "
                         f"got {typing['sel']}")
        # Typing over the selection replaces the rejected entry.
        self.answer_prompt(run, dialog, LINE)

        dialog, _ = self.wait_prompt(run, 3, after=seen)
        self.probe.key("Escape")
        run.wait_gone(dialog["hwnd"], "the typing dialog")
        run.wait_main_focused()
        self.assert_quiet(run, "after Esc in a typing prompt")
        files = sorted(os.listdir(self.work))
        self.assertEqual(files, ["string.dat"],
                         f"expected no highscore.dat after a quit game; got {files}")
        self.quit_with_escape(run)

    def test_retry_starts_next_game_without_name_dialog(self):
        write_sentences(self.work, LINE, ending="\r\n")
        run = self.start()
        run.wait_main_focused()
        self.probe.key("F1")
        self.enter_name(run, "abcdefghij")

        shown = []
        result, *_ = self.play_correctly(run, LINE)
        first = self.read_result(run, result)
        self.assertEqual(first["name"], "abcdefgh",
                         f"expected the name cut to 'abcdefgh'; got {first['name']!r}")
        shown.append(first["speed"])
        run.wait_focus_on(result["hwnd"], ID_OK)
        self.probe.key("r")
        run.wait_gone(result["hwnd"], "the result dialog")

        # wait_prompt fails at once should the name dialog come up instead.
        result, *_ = self.play_correctly(run, LINE)
        finished = datetime.datetime.now()
        second = self.read_result(run, result)
        self.assertEqual(second["name"], "abcdefgh",
                         f"expected the same name after Retry; got {second['name']!r}")
        self.assertEqual(second["length"], str(LENGTH),
                         f"expected LENGTH {LENGTH}; got {second['length']!r}")
        shown.append(second["speed"])
        run.wait_focus_on(result["hwnd"], ID_OK)
        self.probe.key("Return")
        run.wait_gone(result["hwnd"], "the result dialog")
        run.wait_main_focused()

        data = self.read_table()
        # A score equal to a stored one ranks above it, so the newer game leads a tie.
        order = sorted(range(2), key=lambda i: (-decimal.Decimal(shown[i]), -i))
        for index, game in enumerate(order):
            self.assert_entry(data, index, "abcdefgh", shown[game], finished)
        for index in range(2, 10):
            self.assert_default_entry(data, index)
        self.quit_with_escape(run)

    def test_missing_sentence_file_is_reported(self):
        run = self.start()
        run.wait_main_focused()
        self.probe.key("F1")

        for attempt in ("first", "second"):
            box, texts = self.wait_message_box(run)
            self.assertEqual(box["owner"], run.main, "expected the message box owned by the main window")
            self.assertTrue(any("string.dat" in text for text in texts),
                            f"expected the message to name 'string.dat'; got {texts}")
            self.probe.key("Return")
            run.wait_gone(box["hwnd"], "the message box")
            run.wait_main_focused()
            self.assert_quiet(run, f"after the {attempt} message box")
            files = os.listdir(self.work)
            self.assertEqual(files, [], f"expected no file made; got {files}")
            if attempt == "first":
                # No name is asked for a game that cannot start, the second time either.
                self.probe.key("F1")
        self.quit_with_escape(run)


if __name__ == "__main__":
    harness.main()
