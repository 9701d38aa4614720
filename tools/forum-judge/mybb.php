<?php
// MyBB 1.8 as the judge: the post data handler's verify_message() and
// verify_image_count() (inc/datahandlers/post.php), and postParser
// (inc/class_parser.php) with a forum's default options, as showthread.php
// renders a post. The database, the cache and the language strings are
// stood in for with the rows and settings of MyBB's own installer.

final class judge_mybb_db
{
    public $type = 'mysqli';
    // install/resources/mysql_db_tables.php: posts.message is "text".
    public function show_fields_from($table) { return [['Field' => 'message', 'Type' => 'text']]; }
    public function escape_string($string) { return addslashes($string); }
    public function simple_select(...$args) { return null; }
    public function fetch_field(...$args) { return null; }
    public function fetch_array(...$args) { return false; }
    public function num_rows(...$args) { return 0; }
}

final class judge_mybb_cache
{
    private $caches;
    public function __construct(array $caches) { $this->caches = $caches; }
    public function read($name, $hard = false) { return $this->caches[$name] ?? []; }
}

final class judge_mybb_plugins
{
    public function run_hooks($hook, &$arguments = '') { return $arguments; }
}

final class judge_mybb_lang
{
    // inc/languages/english.php
    public $settings = ['charset' => 'UTF-8'];
    public function __get($name) { return $name; }
    public function sprintf($string, ...$args) { return $string; }
}

// inc/class_error.php would log and show the parser's complaint; the
// judge keeps the post's name of it instead.
final class judge_mybb_error_handler
{
    public $last = null;
    public function error($type, $message, $file = '', $line = 0, $allow_output = true) { $this->last = $message; return true; }
}

final class judge_mybb
{
    // The board's forum made by the installer (mysql_db_inserts.php, fid 2).
    private const FID = 2;

    public function __construct(string $root)
    {
        global $mybb, $db, $cache, $plugins, $lang, $templates, $groupscache, $error_handler;
        if (!defined('IN_MYBB')) {
            define('IN_MYBB', 1);
            define('MYBB_ROOT', rtrim($root, '/') . '/');
            define('TIME_NOW', 1700000000);
            // inc/init.php, without search-engine-friendly addresses.
            define('FORUM_URL', 'forumdisplay.php?fid={fid}');
            define('THREAD_URL', 'showthread.php?tid={tid}');
            define('THREAD_URL_POST', 'showthread.php?tid={tid}&pid={pid}');
            define('POST_URL', 'showthread.php?pid={pid}');
            define('PROFILE_URL', 'member.php?action=profile&uid={uid}');
        }
        require_once MYBB_ROOT . 'inc/class_core.php';
        require_once MYBB_ROOT . 'inc/functions.php';
        require_once MYBB_ROOT . 'inc/class_parser.php';
        require_once MYBB_ROOT . 'inc/class_templates.php';
        require_once MYBB_ROOT . 'inc/datahandler.php';
        require_once MYBB_ROOT . 'inc/datahandlers/post.php';

        $_SERVER['REQUEST_METHOD'] = 'POST';
        $mybb = new MyBB;
        $mybb->settings = self::settings(MYBB_ROOT . 'install/resources/settings.xml');
        $mybb->settings['bburl'] = 'http://localhost/mybb';
        $mybb->user = ['uid' => 0, 'usergroup' => 1, 'showimages' => 1, 'showvideos' => 1];
        $mybb->usergroup = ['cancp' => 0, 'issupermod' => 0];
        $db = new judge_mybb_db;
        $inserts = file_get_contents(MYBB_ROOT . 'install/resources/mysql_db_inserts.php');
        $cache = new judge_mybb_cache([
            'forums' => self::forums($inserts),
            'smilies' => self::smilies($inserts),
            'mycode' => [],
            'badwords' => [],
        ]);
        $plugins = new judge_mybb_plugins;
        $error_handler = new judge_mybb_error_handler;
        // The default theme's templates, as the cache the database would fill.
        $templates = new templates;
        foreach (simplexml_load_file(MYBB_ROOT . 'install/resources/mybb_theme.xml')->xpath('//template') as $template) {
            $templates->cache[(string) $template['name']] = (string) $template;
        }
        // A guest, who is neither moderator nor administrator.
        $groupscache = [1 => ['cancp' => 0, 'issupermod' => 0]];
        $lang = new judge_mybb_lang;
    }

    private static function settings(string $xml_file): array
    {
        $settings = [];
        $xml = simplexml_load_file($xml_file);
        foreach ($xml->xpath('//setting') as $setting) {
            $settings[(string) $setting['name']] = (string) $setting->settingvalue;
        }
        return $settings;
    }

    private static function rows(string $inserts, string $table): array
    {
        preg_match_all('/INSERT INTO mybb_' . $table . ' \\(([^)]*)\\) VALUES ?\\((.*)\\);";/', $inserts, $m, PREG_SET_ORDER);
        $rows = [];
        foreach ($m as $row) {
            $columns = array_map('trim', explode(',', $row[1]));
            $values = array_map(function ($v) { return trim(trim($v), "'"); }, str_getcsv($row[2], ',', "'"));
            $rows[] = array_combine($columns, $values);
        }
        return $rows;
    }

    private static function forums(string $inserts): array
    {
        $forums = [];
        foreach (self::rows($inserts, 'forums') as $row) {
            $forums[$row['fid']] = $row;
        }
        return $forums;
    }

    private static function smilies(string $inserts): array
    {
        $smilies = [];
        foreach (self::rows($inserts, 'smilies') as $row) {
            $smilies[$row['sid']] = $row;
        }
        return $smilies;
    }

    public function judge(string $sent): array
    {
        $handler = new PostDataHandler('insert');
        $handler->action = 'post';
        $handler->set_data(['message' => $sent, 'fid' => self::FID, 'uid' => 0, 'pid' => 0]);
        $verdict = 'taken';
        if (!$handler->verify_message() || !$handler->verify_image_count()) {
            $errors = $handler->get_errors();
            $verdict = 'refused:' . self::reason(array_key_first($errors));
        }
        $message = $handler->data['message'];
        $forum = get_forum(self::FID);
        $parser = new postParser;
        // showthread.php, build_postbit(): the forum's options for a post.
        $options = [
            'allow_html' => $forum['allowhtml'],
            'allow_mycode' => $forum['allowmycode'],
            'allow_smilies' => $forum['allowsmilies'],
            'allow_imgcode' => $forum['allowimgcode'],
            'allow_videocode' => $forum['allowvideocode'],
            'filter_badwords' => 1,
            'me_username' => '',
        ];
        $html = $parser->parse_message($message, $options);
        // Without addresses made links, the tags it laid out are all its links.
        $typed = (new postParser)->parse_message($message, ['allow_auto_url' => 0] + $options);
        return [
            'length' => strlen($message),
            'verdict' => $verdict,
            'pictures' => substr_count($html, '<img'),
            'quotes_removed' => 0,
            'markup' => judge_html_markup('mybb', $typed),
            'html' => $html,
        ];
    }

    private static function reason($error): string
    {
        $reasons = ['missing_message' => 'empty', 'message_too_short' => 'too_short', 'message_too_long' => 'too_long',
                    'too_many_images' => 'too_many_pictures'];
        return $reasons[$error] ?? (string) $error;
    }
}
