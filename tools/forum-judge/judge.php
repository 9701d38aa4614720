<?php
// Runs each post of the posts file through the forums' own code and writes
// what each forum makes of it. See docs/forum-judge.md for the command.
//
//   php tools/forum-judge/judge.php --forums DIR --posts FILE --out DIR --forum NAME
//
// One forum a run (phpbb, mybb or smf): the forums declare functions of
// the same names, so each needs a PHP of its own. It writes
// verdicts-NAME.tsv and runs-NAME.tsv into the out directory.
//
// DIR holds the releases, fetched by the developer and never committed:
//   phpbb/phpBB              phpBB release-3.3.15
//   s9e-text-formatter       s9e/TextFormatter 2.11.5 (phpBB's composer.lock)
//   s9e-regexp-builder       s9e/RegexpBuilder 1.4.6
//   s9e-sweetdom             s9e/SweetDOM 2.1.0.1
//   mybb                     MyBB mybb_1837
//   smf                      SMF 2.1.5

error_reporting(E_ALL & ~E_DEPRECATED & ~E_USER_DEPRECATED);
ini_set('memory_limit', '1G');

$judge_args = getopt('', ['forums:', 'posts:', 'out:', 'forum:']);
foreach (['forums', 'posts', 'out', 'forum'] as $needed) {
    if (!isset($judge_args[$needed])) {
        fwrite(STDERR, "usage: php judge.php --forums DIR --posts FILE --out DIR --forum phpbb|mybb|smf\n");
        exit(2);
    }
}
$forums = rtrim($judge_args['forums'], '/');
$only = [$judge_args['forum']];

// Composer's autoloader stands in for phpBB's vendor/: each namespace from
// its own fetched repository.
spl_autoload_register(function ($class) use ($forums) {
    $roots = [
        's9e\\TextFormatter\\' => "$forums/s9e-text-formatter/src/",
        's9e\\RegexpBuilder\\' => "$forums/s9e-regexp-builder/src/",
        's9e\\SweetDOM\\' => "$forums/s9e-sweetdom/src/",
        'phpbb\\' => "$forums/phpbb/phpBB/phpbb/",
    ];
    foreach ($roots as $prefix => $dir) {
        if (strncmp($class, $prefix, strlen($prefix)) === 0) {
            $file = $dir . str_replace('\\', '/', substr($class, strlen($prefix))) . '.php';
            if (is_file($file)) {
                require $file;
            }
            return;
        }
    }
});

require __DIR__ . '/posts.php';
require __DIR__ . '/html_runs.php';

$posts = judge_read_posts($judge_args['posts']);
$cache_dir = sys_get_temp_dir() . '/forum-judge-' . getmypid() . '/';
@mkdir($cache_dir, 0700, true);

$judges = [];
foreach ($only as $forum) {
    switch ($forum) {
    case 'phpbb':
        require_once __DIR__ . '/phpbb.php';
        $judges['phpbb'] = new judge_phpbb("$forums/phpbb/phpBB", $cache_dir);
        break;
    case 'mybb':
        require_once __DIR__ . '/mybb.php';
        $judges['mybb'] = new judge_mybb("$forums/mybb");
        break;
    case 'smf':
        require_once __DIR__ . '/smf.php';
        $judges['smf'] = new judge_smf("$forums/smf");
        break;
    default:
        fwrite(STDERR, "unknown forum $forum\n");
        exit(2);
    }
}

$out = rtrim($judge_args['out'], '/');
@mkdir($out, 0755, true);
$verdicts = "# post\tforum\tlength\tverdict\tpictures\tquotes_removed\tmarkup\n";
$runs = "# post\tforum\truns\n";
foreach ($posts as $name => $post) {
    foreach ($judges as $forum => $judge) {
        $row = $judge->judge($post);
        $verdicts .= implode("\t", [$name, $forum, $row['length'], $row['verdict'], $row['pictures'],
                                    $row['quotes_removed'], implode(',', $row['markup']) ?: '-']) . "\n";
        $runs .= "$name\t$forum\t" . judge_runs_line(judge_html_runs($forum, $row['html'])) . "\n";
        if (getenv("JUDGE_HTML")) { fwrite(STDERR, "$name: {$row["html"]}\n"); }
    }
}
file_put_contents("$out/verdicts-{$judge_args['forum']}.tsv", $verdicts);
file_put_contents("$out/runs-{$judge_args['forum']}.tsv", $runs);
fprintf(STDERR, "%d posts, %d forums: %s\n", count($posts), count($judges), $out);
