#!/bin/sh
# Regenerates the forums' verdicts on the posts of tests/data/forum-verdicts:
#   tools/forum-judge/judge-all.sh FORUMS_DIR
# The directory holds the forums' releases (see judge.php for the layout).
set -e
forums=${1:?usage: judge-all.sh FORUMS_DIR}
here=$(dirname "$0")
data=$here/../../tests/data/forum-verdicts
for forum in phpbb mybb smf; do
    php "$here/judge.php" --forums "$forums" --posts "$data/posts.txt" --out "$data" --forum "$forum"
done
