"""Takes the README's screenshot: the editor with a short post in it, one
typo underlined in red, and the live preview beside it, as a user sees it. Run it inside the test
environment (a fresh Wine prefix, so the preview starts hidden):

    FORUM_EDITOR_EXE=build/win/forum-editor.exe FORUM_PROBE_EXE=build/win/fe-probe.exe \
        tools/test-env.sh python3 tools/take_screenshot.py docs/screenshot.png
"""

import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "e2e"))
import harness  # noqa: E402


def main(output):
    editor = harness.Editor().start()
    try:
        editor.key("F5")
        editor.type("Ahoj, here is my questoin about the new release. ")
        for word, shortcut in [("important", "ctrl+b"), ("carefully", "ctrl+i"),
                               ("https://forum.example.org", "ctrl+u")]:
            editor.type(word)
            editor.key(*["shift+Left"] * len(word), shortcut, "ctrl+End")
            editor.type(" ")
        editor.key("Return")
        editor.type("Someone wrote:")
        editor.key("Return")
        editor.type("[quote]Version 2 reads old files.[/quote]")
        editor.key("Return")
        editor.type("Thanks! ")
        # The first smiley, from the last menu of the bar.
        editor.key("alt+p")
        harness.wait_until(lambda: editor.probe("popup-menu").strip() == "open", what="the Tagy menu")
        editor.key(*["Right"] * 5, "Return")
        left, top, right, bottom = editor.layout()["window"]
        harness.wait_until(lambda: "Thanks!" in editor.preview_text(), what="the post in the preview")
        harness.wait_until(lambda: ("Překlepy: 1", False) in editor.status(), timeout=20,
                           what="the typo marked")
        subprocess.run(["import", "-window", "root", "-crop",
                        f"{right - left}x{bottom - top}+{left}+{top}", "+repage", output], check=True)
    finally:
        editor.stop()


if __name__ == "__main__":
    main(sys.argv[1])
