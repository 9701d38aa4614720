#include "document/spell_worker.h"

#include <utility>

SpellWorker::SpellWorker(SpellChecker& checker, std::function<void()> answered)
    : checker_(checker), answered_(std::move(answered)), thread_([this] { run(); })
{
}

SpellWorker::~SpellWorker()
{
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        waiting_.reset();
    }
    wake_.notify_one();
    thread_.join();
}

void SpellWorker::check(SpellRequest request)
{
    {
        const std::lock_guard lock(mutex_);
        waiting_ = std::move(request);
    }
    wake_.notify_one();
}

std::optional<SpellAnswer> SpellWorker::take_answer()
{
    const std::lock_guard lock(mutex_);
    return std::exchange(answer_, std::nullopt);
}

void SpellWorker::wait_until_idle()
{
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return !busy_ && !waiting_; });
}

void SpellWorker::run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || waiting_; });
        if (stopping_)
            return;
        SpellRequest request = std::move(*waiting_);
        waiting_.reset();
        busy_ = true;
        lock.unlock();

        SpellAnswer answer = this->answer(request);

        lock.lock();
        // A failure not yet taken is still to be told.
        if (answer_) {
            auto& failures = answer.report.dictionaries;
            failures.insert(failures.begin(), answer_->report.dictionaries.begin(), answer_->report.dictionaries.end());
            if (answer_->report.personal_error || !answer_->report.personal_bad_lines.empty()) {
                answer.report.personal_error = answer_->report.personal_error;
                answer.report.personal_bad_lines = answer_->report.personal_bad_lines;
            }
            answer.report.check_failed |= answer_->report.check_failed;
        }
        answer_ = std::move(answer);
        lock.unlock();
        answered_();
        lock.lock();
        busy_ = false;
        idle_.notify_all();
    }
}

SpellAnswer SpellWorker::answer(const SpellRequest& request) noexcept
{
    SpellAnswer answer;
    answer.version = request.version;
    try {
        answer.report = checker_.load(request.languages);
        checker_.choose(request.languages);
        answer.checked = checker_.ready();
        if (answer.checked)
            answer.misspelt = utf16_ranges(request.post, checker_.misspellings(request.post));
    } catch (...) {
        // Nothing may leave the thread, or the editor would end with it.
        answer.misspelt.clear();
        answer.checked = false;
        answer.report.check_failed = true;
    }
    return answer;
}
