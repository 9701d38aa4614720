// Spell checking on a thread of its own: it loads the dictionaries and
// checks whole posts, so that neither ever holds up typing. Only the newest
// request counts: one that comes while another waits replaces it.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "document/spell_checker.h"
#include "text/history/edit_history.h"

struct SpellRequest {
    std::string post;
    // Which text this is; the answer carries it back, so that an answer
    // about text that has changed since can be told apart.
    std::uint64_t version = 0;
    SpellLanguages languages = SpellLanguages::both;
};

struct SpellAnswer {
    std::uint64_t version = 0;
    // The misspelt words, in the control's positions.
    std::vector<TextRange> misspelt;
    // Whether a chosen dictionary is loaded: without one, nothing was checked.
    bool checked = false;
    // What failed to load while answering, if anything.
    SpellLoadReport report;
};

class SpellWorker {
public:
    // `answered` runs on the worker's thread once an answer is ready to be
    // taken: it should only wake the UI thread.
    SpellWorker(SpellChecker& checker, std::function<void()> answered);
    ~SpellWorker(); // finishes the request in hand
    SpellWorker(const SpellWorker&) = delete;
    SpellWorker& operator=(const SpellWorker&) = delete;

    void check(SpellRequest request);
    // The newest answer, once.
    std::optional<SpellAnswer> take_answer();
    // Returns once every request so far is answered.
    void wait_until_idle();

private:
    void run();
    // Never throws: what the check throws becomes an answer that says so.
    SpellAnswer answer(const SpellRequest& request) noexcept;

    SpellChecker& checker_;
    std::function<void()> answered_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::optional<SpellRequest> waiting_;
    std::optional<SpellAnswer> answer_;
    bool busy_ = false;
    bool stopping_ = false;
    std::thread thread_;
};
