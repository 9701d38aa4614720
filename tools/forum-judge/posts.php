<?php
// Reads the posts file: "=== name" starts a post, the lines after it are
// its text, joined with CR LF as a browser sends a textarea (which also
// sends every lone CR or LF as CR LF). "⟦U+XXXX⟧"
// stands for one code point and "⟦N*text⟧" for the text N times, so that
// controls, lone CRs and long posts can be written. A line starting "#"
// before the first post is a comment.

function judge_read_posts(string $path): array
{
    $posts = [];
    $name = null;
    $lines = [];
    $flush = function () use (&$posts, &$name, &$lines) {
        if ($name !== null) {
            $posts[$name] = preg_replace('/\r\n|\r|\n/', "\r\n", judge_expand(implode("\n", $lines)));
        }
    };
    foreach (preg_split('/\n/', rtrim(file_get_contents($path), "\n")) as $line) {
        if (strncmp($line, '=== ', 4) === 0) {
            $flush();
            $name = substr($line, 4);
            if (isset($posts[$name])) {
                throw new RuntimeException("post $name is named twice");
            }
            $lines = [];
        } elseif ($name !== null) {
            $lines[] = $line;
        }
    }
    $flush();
    return $posts;
}

function judge_expand(string $text): string
{
    $text = preg_replace_callback('/⟦U\+([0-9A-F]{1,6})⟧/u', function ($m) {
        return mb_chr(hexdec($m[1]), 'UTF-8') ?: "\u{FFFD}";
    }, $text);
    // Innermost repeats first, so that they nest.
    do {
        $text = preg_replace_callback('/⟦(\d+)\*((?:(?!⟦|⟧).)*)⟧/su', function ($m) {
            return str_repeat($m[2], (int) $m[1]);
        }, $text, -1, $count);
    } while ($count > 0);
    return $text;
}
