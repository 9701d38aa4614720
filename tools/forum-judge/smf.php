<?php
// SMF 2.1 as the judge: reloadSettings() (Sources/Load.php) builds $smcFunc
// from the installer's settings, then the message checks of Post2()
// (Sources/Post.php) run on the post as sent, and parse_bbc()
// (Sources/Subs.php) renders it. Only the database is stood in for: its
// settings rows come from other/install_2-1_mysql.sql.

final class judge_smf
{
    public function __construct(string $root)
    {
        global $sourcedir, $boarddir, $boardurl, $smcFunc, $modSettings, $txt, $context, $user_info, $settings, $db_prefix,
               $cache_enable, $scripturl, $db_type, $options, $language;
        if (!defined('SMF')) {
            define('SMF', 1);
            define('SMF_VERSION', '2.1.5');
            define('SMF_FULL_VERSION', 'SMF 2.1.5');
            define('SMF_SOFTWARE_YEAR', '2024');
            define('POSTGRE_TITLE', 'PostgreSQL');
            define('MYSQL_TITLE', 'MySQL');
            define('SMF_USER_AGENT', 'SMF');
            define('TIME_START', 1700000000);
        }
        $boarddir = rtrim($root, '/');
        $sourcedir = "$boarddir/Sources";
        $boardurl = 'http://localhost/smf';
        $scripturl = "$boardurl/index.php";
        $db_type = 'mysql';
        $db_prefix = 'smf_';
        $cache_enable = 0;
        $language = 'english';
        require_once "$sourcedir/Load.php";
        require_once "$sourcedir/Subs.php";
        require_once "$sourcedir/Subs-Post.php";
        require_once "$sourcedir/Subs-Compat.php";

        $rows = self::settings_rows(file_get_contents("$boarddir/other/install_2-1_mysql.sql"));
        $smileys = self::smiley_rows(file_get_contents("$boarddir/other/install_2-1_mysql.sql"));
        $txt = ['lang_character_set' => 'UTF-8', 'lang_locale' => 'en_US', 'lang_dictionary' => 'en', 'lang_spelling' => 'american',
                'lang_rtl' => false, 'code' => 'Code', 'quote' => 'Quote', 'quote_from' => 'Quote from', 'search_on' => 'on',
                'code_select' => 'Select', 'code_expand' => 'Expand', 'code_shrink' => 'Shrink', 'spoiler' => 'Spoiler'];
        $smcFunc = [
            // The one query whose rows matter here: parsesmileys()'s.
            'db_query' => function ($id, $query) use ($smileys) {
                return strpos($query, 'smiley_files') !== false ? new ArrayIterator($smileys) : true;
            },
            'db_fetch_all' => function () use ($rows) { return $rows; },
            'db_free_result' => function () {},
            'db_fetch_assoc' => function ($result) {
                if (!$result instanceof ArrayIterator || !$result->valid()) {
                    return false;
                }
                $row = $result->current();
                $result->next();
                return $row;
            },
            'db_fetch_row' => function () { return false; },
            'db_num_rows' => function () { return 0; },
            'db_insert' => function () {},
            'db_escape_string' => 'addslashes',
            'db_mb4' => true,
        ];
        $context = ['browser' => [], 'utf8' => true, 'character_set' => 'UTF-8', 'right_to_left' => false];
        $user_info = ['id' => 0, 'is_guest' => true, 'is_admin' => false, 'smiley_set' => 'fugue', 'time_offset' => 0,
                      'language' => 'english', 'permissions' => [], 'groups' => [-1], 'possibly_robot' => false, 'name' => 'Guest',
                      'time_format' => '%B %d, %Y, %I:%M:%S %p', 'timezone' => 'UTC'];
        $settings = ['images_url' => "$boardurl/Themes/default/images", 'default_images_url' => "$boardurl/Themes/default/images"];
        $options = [];
        reloadSettings();
    }

    private static function settings_rows(string $sql): array
    {
        $start = strpos($sql, 'INSERT INTO {$db_prefix}settings');
        $end = strpos($sql, ";\n", $start);
        preg_match_all("/\\('((?:[^'\\\\]|\\\\.)*)', '((?:[^'\\\\]|\\\\.|'')*)'\\)/", substr($sql, $start, $end - $start), $m, PREG_SET_ORDER);
        $rows = [];
        foreach ($m as $row) {
            $value = strtr($row[2], ['{$boardurl}' => 'http://localhost/smf', '{$smf_version}' => '2.1.5', "''" => "'"]);
            $rows[] = ['variable' => $row[1], 'value' => stripslashes($value)];
        }
        // Set by the installer after the insert: who manages boards (admins).
        $rows[] = ['variable' => 'board_manager_groups', 'value' => '1'];
        return $rows;
    }

    // The smileys the installer adds, longest code first as parsesmileys()
    // asks; the description stands in for the file's name.
    private static function smiley_rows(string $sql): array
    {
        $start = strpos($sql, 'INSERT INTO {$db_prefix}smileys');
        $end = strpos($sql, ";\n", $start);
        preg_match_all('/\\(\'((?:[^\']|\'\')*)\', \'\\{\\$default_(\\w+)_smiley\\}\', \\d+, \\d+\\)/', substr($sql, $start, $end - $start), $m, PREG_SET_ORDER);
        $rows = [];
        foreach ($m as $row) {
            $code = str_replace(["''", '\\\\'], ["'", '\\'], $row[1]);
            $rows[] = ['code' => $code, 'filename' => $row[2] . '.gif', 'description' => $row[2]];
        }
        usort($rows, function ($a, $b) { return strlen($b['code']) - strlen($a['code']); });
        return $rows;
    }

    public function judge(string $sent): array
    {
        global $smcFunc, $modSettings, $context;
        // Post2(): the checks of the message, in its order.
        $message = $sent;
        $verdict = 'taken';
        if ($smcFunc['htmltrim']($smcFunc['htmlspecialchars']($message), ENT_QUOTES) === '') {
            $verdict = 'refused:empty';
        } elseif (!empty($modSettings['max_messageLength']) && $smcFunc['strlen']($message) > $modSettings['max_messageLength']) {
            $verdict = 'refused:too_long';
        } else {
            $message = $smcFunc['htmlspecialchars']($message, ENT_QUOTES);
            preparsecode($message);
            if ($smcFunc['htmltrim'](strip_tags(parse_bbc($message, false), implode('', $context['allowed_html_tags']))) === '') {
                $verdict = 'refused:empty';
            }
        }
        if ($verdict !== 'taken') {
            $message = $smcFunc['htmlspecialchars']($sent, ENT_QUOTES);
            preparsecode($message);
        }
        // Display.php, prepareDisplayContext(): the message with smileys.
        $html = parse_bbc($message, true, '');
        // Without addresses made links, the tags it laid out are all its links.
        $auto = $modSettings['autoLinkUrls'];
        $modSettings['autoLinkUrls'] = 0;
        $typed = parse_bbc($message, true, '');
        $modSettings['autoLinkUrls'] = $auto;
        return [
            'length' => $smcFunc['strlen']($sent),
            'verdict' => $verdict,
            'pictures' => substr_count($html, '<img'),
            'quotes_removed' => 0,
            'markup' => judge_html_markup('smf', $typed),
            'html' => $html,
        ];
    }
}
