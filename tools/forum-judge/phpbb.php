<?php
// phpBB 3.3 as the judge: the request's set_var(), message_parser::parse()
// with the s9e parser that phpBB's own factory configures, and the renderer
// with prosilver's bbcode.html. Only what would need a database, a session
// or Symfony is stood in for, below.

namespace Symfony\Component\EventDispatcher {
    // phpBB's dispatcher_interface extends it; nothing here needs its methods.
    if (!interface_exists(EventDispatcherInterface::class, false)) {
        interface EventDispatcherInterface {}
    }
}

namespace {

final class judge_phpbb_dispatcher implements \phpbb\event\dispatcher_interface
{
    public function trigger_event($eventName, $data = []) { return $data; }
    public function dispatch($eventName, $event = null) { return $event; }
    public function disable() {}
    public function enable() {}
}

// The board's rows that phpBB reads from its database, taken from its own
// installation data (install/schemas/schema_data.sql).
final class judge_phpbb_data_access extends \phpbb\textformatter\data_access
{
    private $smilies;

    public function __construct($styles_path, array $smilies)
    {
        $this->styles_path = $styles_path;
        $this->smilies = $smilies;
    }
    public function get_bbcodes() { return []; }
    public function get_smilies() { return $this->smilies; }
    public function get_censored_words() { return []; }
    protected function get_styles()
    {
        return [['style_id' => 1, 'style_path' => 'prosilver', 'style_parent_id' => 0, 'bbcode_bitfield' => '//g=']];
    }
}

final class judge_phpbb_cache implements \phpbb\cache\driver\driver_interface
{
    private $vars = [];
    public function load() { return true; }
    public function unload() {}
    public function save() {}
    public function tidy() {}
    public function get($var_name) { return $this->vars[$var_name] ?? false; }
    public function put($var_name, $var, $ttl = 0) { $this->vars[$var_name] = $var; }
    public function purge() { $this->vars = []; }
    public function destroy($var_name, $table = '') { unset($this->vars[$var_name]); }
    public function _exists($var_name) { return isset($this->vars[$var_name]); }
    public function sql_load($query) { return false; }
    public function sql_save(\phpbb\db\driver\driver_interface $db, $query, $query_result, $ttl) { return $query_result; }
    public function sql_exists($query_id) { return false; }
    public function sql_fetchrow($query_id) { return false; }
    public function sql_fetchfield($query_id, $field) { return false; }
    public function sql_rowseek($rownum, $query_id) { return false; }
    public function sql_freeresult($query_id) { return false; }
    public function clean_query_id($query_id) { return $query_id; }
}

final class judge_phpbb_log implements \phpbb\log\log_interface
{
    public function is_enabled($type = '') { return false; }
    public function disable($type = '') {}
    public function enable($type = '') {}
    public function add($mode, $user_id, $log_ip, $log_operation, $log_time = false, $additional_data = array()) { return 0; }
    public function delete($mode, $conditions = array()) {}
    public function get_logs($mode, $count_logs = true, $limit = 0, $offset = 0, $forum_id = 0, $topic_id = 0, $user_id = 0, $log_time = 0, $sort_by = 'l.log_time DESC', $keywords = '') { return []; }
    public function get_log_count() { return 0; }
    public function get_valid_offset() { return 0; }
}

// The user: only lang() is asked, for the warnings; keeping the key keeps
// the reason readable.
final class judge_phpbb_user
{
    public $lang = ['TOO_FEW_CHARS' => 'TOO_FEW_CHARS'];
    public $host = '';
    public $data = ['user_id' => 1];
    public function lang($key, ...$args) { return $key; }
}

final class judge_phpbb_container
{
    private $services = [];
    public function set($name, $service) { $this->services[$name] = $service; }
    public function get($name) { return $this->services[$name]; }
}

final class judge_phpbb
{
    private $parser;   // \phpbb\textformatter\s9e\parser
    private $renderer; // \phpbb\textformatter\s9e\renderer
    private $utils;
    private $helper;

    public function __construct(string $root, string $cache_dir)
    {
        global $phpbb_root_path, $phpEx, $config, $user, $phpbb_dispatcher, $phpbb_container, $request;
        $phpbb_root_path = rtrim($root, '/') . '/';
        $phpEx = 'php';
        if (!defined('IN_PHPBB')) {
            define('IN_PHPBB', true);
        }
        require_once $phpbb_root_path . 'includes/constants.php';
        require_once $phpbb_root_path . 'includes/functions.php';
        require_once $phpbb_root_path . 'includes/functions_content.php';
        require_once $phpbb_root_path . 'includes/utf/utf_tools.php';
        require_once $phpbb_root_path . 'includes/bbcode.php';
        require_once $phpbb_root_path . 'includes/message_parser.php';

        $schema = file_get_contents($phpbb_root_path . 'install/schemas/schema_data.sql');
        $config = new \phpbb\config\config(self::config_rows($schema));
        $config['server_name'] = 'localhost';
        $config['script_path'] = '/phpbb';
        $config['force_server_vars'] = 1;
        $user = new judge_phpbb_user;
        $phpbb_dispatcher = new judge_phpbb_dispatcher;
        $phpbb_container = new judge_phpbb_container;

        $cache = new judge_phpbb_cache;
        $data_access = new judge_phpbb_data_access($phpbb_root_path . 'styles/', self::smiley_rows($schema));
        $factory = new \phpbb\textformatter\s9e\factory($data_access, $cache, $phpbb_dispatcher, $config,
            new \phpbb\textformatter\s9e\link_helper, new judge_phpbb_log, $cache_dir, '_judge_parser', '_judge_renderer');
        $this->parser = new \phpbb\textformatter\s9e\parser($cache, '_judge_parser', $factory, $phpbb_dispatcher);
        $this->renderer = new \phpbb\textformatter\s9e\renderer($cache, $cache_dir, '_judge_renderer', $factory, $phpbb_dispatcher);
        $this->utils = new \phpbb\textformatter\s9e\utils;
        $phpbb_container->set('text_formatter.parser', $this->parser);
        $phpbb_container->set('text_formatter.utils', $this->utils);
        $this->helper = new \phpbb\request\type_cast_helper;

        // What a reader with the usual options sees (viewtopic.php).
        $this->renderer->set_viewcensors(false);
        $this->renderer->set_viewflash(true);
        $this->renderer->set_viewimg(true);
        $this->renderer->set_viewsmilies(true);
        $this->renderer->get_renderer()->setParameter('T_SMILIES_PATH', 'images/smilies');
    }

    private static function config_rows(string $schema): array
    {
        preg_match_all("/INSERT INTO phpbb_config \\(config_name, config_value\\) VALUES \\('([^']*)', '((?:[^']|'')*)'\\);/", $schema, $m, PREG_SET_ORDER);
        $rows = [];
        foreach ($m as $row) {
            $rows[$row[1]] = str_replace("''", "'", $row[2]);
        }
        return $rows;
    }

    private static function smiley_rows(string $schema): array
    {
        preg_match_all("/INSERT INTO phpbb_smilies \\(code, smiley_url, emotion, smiley_width, smiley_height, smiley_order\\) VALUES \\('((?:[^']|'')*)', '([^']*)', '([^']*)', (\\d+), (\\d+), (\\d+)\\);/", $schema, $m, PREG_SET_ORDER);
        $rows = [];
        foreach ($m as $row) {
            $rows[] = ['code' => str_replace("''", "'", $row[1]), 'smiley_url' => $row[2], 'emotion' => $row[3],
                       'smiley_width' => $row[4], 'smiley_height' => $row[5]];
        }
        return $rows;
    }

    // posting.php: $request->variable('message', '', true), then
    // message_parser::parse() with the board's defaults for a new post.
    public function judge(string $sent): array
    {
        global $config;
        $message = '';
        $this->helper->set_var($message, $sent, 'string', true);

        $message_parser = new parse_message($message);
        $warnings = $message_parser->parse(true, $config['allow_post_links'] ? true : false, true, true, false, true, true, true, 'post');
        $length = utf8_strlen($message);

        // The same text through the same parser, before any quote is
        // removed, to name the quotes it removes and to count what it lays out.
        $xml = $this->parser->parse(html_entity_decode($message, ENT_QUOTES));
        $verdict = 'taken';
        if (is_array($warnings) && $warnings) {
            $verdict = 'refused:' . self::reason($warnings[0]);
            if ($verdict === 'refused:too_short' && $length === 0) {
                $verdict = 'refused:empty';
            }
        }
        $kept = $verdict === 'taken' ? $message_parser->message : $this->utils->remove_bbcode($xml, 'quote', (int) $config['max_quote_depth']);
        $html = $this->renderer->render($kept);
        return [
            'length' => $length,
            'verdict' => $verdict,
            'pictures' => self::count_xpath($kept, '//IMG | //E'),
            'quotes_removed' => self::count_xpath($xml, '//QUOTE[count(ancestor::QUOTE) = ' . (int) $config['max_quote_depth'] . ']'),
            'markup' => self::markup($kept),
            'html' => $html,
        ];
    }

    private static function reason(string $warning): string
    {
        foreach (['CHARS_POST_CONTAINS' => 'too_long', 'TOO_FEW_CHARS' => 'too_short', 'MAX_FONT_SIZE_EXCEEDED' => 'size_too_large',
                  'TOO_MANY_SMILIES' => 'too_many_smileys', 'TOO_MANY_URLS' => 'too_many_urls'] as $key => $reason) {
            if (strpos($warning, $key) !== false) {
                return $reason;
            }
        }
        return preg_replace('/\\s+/', '_', $warning);
    }

    private static function dom(string $xml): \DOMXPath
    {
        $dom = new \DOMDocument;
        $dom->loadXML($xml);
        return new \DOMXPath($dom);
    }

    private static function count_xpath(string $xml, string $query): int
    {
        return self::dom($xml)->query($query)->length;
    }

    // Tag names the forum laid out, in document order: the elements of its
    // parsed XML that came from BBCodes (those with an <s> start marker).
    private static function markup(string $xml): array
    {
        $names = [];
        foreach (self::dom($xml)->query('//*[s]') as $element) {
            $names[] = strtolower($element->nodeName === 'LI' ? '*' : $element->nodeName);
        }
        return $names;
    }
}

}
