<?php
// The HTML a forum renders, reduced to runs: stretches of text with the
// formatting that holds over them, and the pictures between them. A run is
// written "marks|text", marks joined by ","; a picture is "img=ADDRESS", a
// smiley "smiley=CODE". Marks: b i u s color=C size=S align=A link=HREF
// quote=AUTHOR (an unnamed quote: "quote=") code list item.
// Also which tags a forum's HTML shows it laid out, for the verdict table.

// What one element of a forum's HTML stands for: a mark, a picture, or a
// part whose text is the forum's own (a quote's header, a code box's title).
function judge_element_mark(string $forum, DOMElement $e): ?array
{
    $name = strtolower($e->nodeName);
    $class = ' ' . $e->getAttribute('class') . ' ';
    $style = strtolower($e->getAttribute('style'));
    $has = function (string $c) use ($class) { return strpos($class, " $c ") !== false; };

    if ($name === 'img') {
        $smiley = $has('smilies') || $has('smilie') || $has('smiley') || $has('emoji');
        return ['picture', $smiley ? 'smiley=' . html_entity_decode($e->getAttribute('alt'), ENT_QUOTES | ENT_HTML5, 'UTF-8')
                                   : 'img=' . $e->getAttribute('src'), $smiley ? 'smiley' : 'img'];
    }
    if ($name === 'br') {
        return ['text', "\n"];
    }
    if ($name === 'cite' || ($name === 'div' && ($has('codetitle') || $has('title') || $has('codeheader'))) ||
        ($name === 'p' && ($has('codetitle') || strpos(' ' . $e->parentNode->getAttribute('class') . ' ', ' codebox ') !== false)) || ($name === 'a' && $has('codeoperation'))) {
        return ['skip'];
    }
    if ($name === 'blockquote') {
        $author = '';
        // Its own header comes before any quote inside it.
        $cite = $e->getElementsByTagName('cite')->item(0);
        if ($cite !== null && judge_owner_quote($cite) === $e) {
            $author = trim(preg_replace('/\s*(wrote|Quote from|Quote):?\s*$/u', '', trim($cite->textContent)));
            $author = preg_replace('/^(Quote from|Quote):?\s*/u', '', $author);
            $author = preg_replace('/\s+on\s.*$/u', '', $author);
        }
        return ['mark', 'quote=' . $author, 'quote'];
    }
    if (in_array($name, ['strong', 'b']) || $has('mycode_b') || strpos($style, 'font-weight: bold') !== false) {
        return ['mark', 'b', 'b'];
    }
    if (in_array($name, ['em', 'i']) || $has('mycode_i') || strpos($style, 'font-style: italic') !== false) {
        return ['mark', 'i', 'i'];
    }
    if ($name === 'u' || $has('mycode_u') || strpos($style, 'text-decoration: underline') !== false) {
        return ['mark', 'u', 'u'];
    }
    if (in_array($name, ['s', 'del', 'strike']) || $has('mycode_s') || strpos($style, 'line-through') !== false) {
        return ['mark', 's', 's'];
    }
    if ($name === 'a') {
        $href = $e->getAttribute('href');
        return ['mark', 'link=' . $href, strncmp($href, 'mailto:', 7) === 0 ? 'email' : 'url'];
    }
    if (preg_match('/(?:^|;)\s*color:\s*([^;]+)/', $style, $m)) {
        return ['mark', 'color=' . trim($m[1]), 'color'];
    }
    if (preg_match('/font-size:\s*([^;]+)/', $style, $m)) {
        return ['mark', 'size=' . trim($m[1]), 'size'];
    }
    if (preg_match('/text-align:\s*([^;]+)/', $style, $m) || $has('centertext') || ($name === 'div' && $e->getAttribute('align'))) {
        $align = isset($m[1]) ? trim($m[1]) : ($has('centertext') ? 'center' : $e->getAttribute('align'));
        return ['mark', 'align=' . $align, $forum === 'mybb' ? 'align' : 'center'];
    }
    if ($name === 'code' || $name === 'pre' || $has('codebox') || $has('codeblock') || $has('bbc_code')) {
        return ['mark', 'code', 'code'];
    }
    if ($name === 'ul' || $name === 'ol') {
        return ['mark', 'list', 'list'];
    }
    if ($name === 'li') {
        return ['mark', 'item', '*'];
    }
    if ($name === 'hr') {
        return ['rule', 'hr'];
    }
    return null;
}

function judge_owner_quote(DOMNode $node): ?DOMNode
{
    for ($up = $node->parentNode; $up !== null; $up = $up->parentNode) {
        if (strtolower($up->nodeName) === 'blockquote') {
            return $up;
        }
    }
    return null;
}

function judge_html_dom(string $html): DOMElement
{
    $dom = new DOMDocument;
    @$dom->loadHTML('<?xml encoding="UTF-8"?><html><body><div id="judge-root">' . $html . '</div></body></html>',
                    LIBXML_NOERROR | LIBXML_NOWARNING);
    return $dom->getElementById('judge-root') ?? $dom->documentElement;
}

function judge_html_runs(string $forum, string $html): array
{
    $runs = [];
    $walk = function (DOMNode $node, array $marks, bool $in_code) use (&$walk, &$runs, $forum) {
        foreach ($node->childNodes as $child) {
            if ($child instanceof DOMText) {
                $text = $child->data;
                if (!$in_code) {
                    // Line breaks in the HTML are the markup's own; <br> is the text's.
                    $text = str_replace(["\r", "\n"], '', $text);
                } elseif ($child->previousSibling !== null && strtolower($child->previousSibling->nodeName) === 'br') {
                    $text = preg_replace('/^\r?\n/', '', $text);
                }
                judge_add_run($runs, $marks, $text);
                continue;
            }
            if (!$child instanceof DOMElement) {
                continue;
            }
            $mark = judge_element_mark($forum, $child);
            if ($mark === null) {
                $walk($child, $marks, $in_code);
            } elseif ($mark[0] === 'picture' || $mark[0] === 'rule') {
                $runs[] = [$mark[1], null];
            } elseif ($mark[0] === 'text') {
                judge_add_run($runs, $marks, $mark[1]);
            } elseif ($mark[0] === 'mark') {
                $inner = $marks;
                if (!in_array($mark[1], $inner, true) || in_array($mark[1], ['quote=', 'list', 'item'], true)) {
                    $inner[] = $mark[1];
                }
                $walk($child, $inner, $in_code || $mark[1] === 'code');
                if (judge_is_block($mark[1])) {
                    $runs[] = ['', false]; // no text runs on across a block's edge
                }
            }
        }
    };
    $walk(judge_html_dom($html), [], false);
    return $runs;
}

function judge_is_block(string $mark): bool
{
    return in_array(explode('=', $mark)[0], ['quote', 'code', 'list', 'item', 'align'], true);
}

function judge_add_run(array &$runs, array $marks, string $text): void
{
    if ($text === '') {
        return;
    }
    $key = implode(',', $marks);
    $last = count($runs) - 1;
    if ($last >= 0 && $runs[$last][1] === false) {
        $runs[$last] = [$key, $text];
    } elseif ($last >= 0 && $runs[$last][1] !== null && $runs[$last][0] === $key) {
        $runs[$last][1] .= $text;
    } else {
        $runs[] = [$key, $text];
    }
}

// A long text as its first and last 40 characters around "⟦…N⟧", N its
// length in characters, so that the table stays small.
function judge_short_text(string $text): string
{
    $length = mb_strlen($text, 'UTF-8');
    if ($length <= 100) {
        return $text;
    }
    return mb_substr($text, 0, 40, 'UTF-8') . "⟦…$length⟧" . mb_substr($text, -40, null, 'UTF-8');
}

// One line of the runs table: runs joined by " ¦ ", each "marks|text" with
// the text's tab, line break, CR, backslash and "¦" escaped.
function judge_runs_line(array $runs): string
{
    $out = [];
    $repeats = 0;
    foreach ($runs as $at => [$marks, $text]) {
        if ($text === false) {
            continue;
        }
        // A picture many times over is written once, with its count.
        if ($text === null && isset($runs[$at + 1]) && $runs[$at + 1] === [$marks, null]) {
            ++$repeats;
            continue;
        }
        if ($text === null && $repeats > 0) {
            $out[] = $marks . '⟦×' . ($repeats + 1) . '⟧';
            $repeats = 0;
            continue;
        }
        $out[] = $text === null ? $marks : $marks . '|' . strtr(judge_short_text($text), ["\\" => '\\\\', "\t" => '\t', "\n" => '\n', "\r" => '\r', '¦' => '\\¦']);
    }
    return implode(' ¦ ', $out) ?: '-';
}

// The tags a forum's HTML shows laid out, in document order.
function judge_html_markup(string $forum, string $html): array
{
    $names = [];
    $walk = function (DOMNode $node, bool $in_code) use (&$walk, &$names, $forum) {
        foreach ($node->childNodes as $child) {
            if (!$child instanceof DOMElement) {
                continue;
            }
            $mark = judge_element_mark($forum, $child);
            // A code box is one tag, however many elements it takes; what it
            // holds is text (MyBB's and SMF's highlighting of [php] aside).
            if ($mark !== null && $mark[0] === 'mark' && $in_code) {
                continue;
            }
            if ($mark !== null && $mark[0] === 'mark') {
                $names[] = $mark[2];
            } elseif ($mark !== null && $mark[0] === 'picture' && $mark[2] === 'img') {
                $names[] = 'img';
            } elseif ($mark !== null && $mark[0] === 'rule') {
                $names[] = 'hr';
            }
            if ($mark === null || $mark[0] === 'mark') {
                $walk($child, $in_code || ($mark !== null && $mark[2] === 'code'));
            }
        }
    };
    $walk(judge_html_dom($html), false);
    return $names;
}
