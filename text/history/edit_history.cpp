#include "text/history/edit_history.h"

#include <limits>
#include <utility>

namespace {

bool is_run_kind(EditKind kind)
{
    return kind == EditKind::typing || kind == EditKind::deleting_backward || kind == EditKind::deleting_forward;
}

// A merged step must still count its characters in the control's LONG.
bool fits_in_position(std::int64_t value)
{
    return value <= std::numeric_limits<std::int32_t>::max();
}

bool continues_run(const EditStep& top, const EditStep& next)
{
    if (next.kind != top.kind)
        return false;
    const std::int64_t top_end = std::int64_t{top.start} + top.inserted_length;
    switch (next.kind) {
    case EditKind::typing:
        return next.removed_length == 0 && next.start == top_end &&
               fits_in_position(std::int64_t{top.inserted_length} + next.inserted_length);
    case EditKind::deleting_backward:
        return next.inserted_length == 0 && std::int64_t{next.start} + next.removed_length == top.start &&
               fits_in_position(std::int64_t{top.removed_length} + next.removed_length);
    case EditKind::deleting_forward:
        return next.inserted_length == 0 && next.start == top_end &&
               fits_in_position(std::int64_t{top.removed_length} + next.removed_length);
    default:
        return false;
    }
}

void append_pieces(Payload& to, Payload&& pieces)
{
    for (std::string& piece : pieces)
        to.push_back(std::move(piece));
}

void prepend_pieces(Payload& to, Payload&& pieces)
{
    for (auto piece = pieces.rbegin(); piece != pieces.rend(); ++piece)
        to.push_front(std::move(*piece));
}

std::size_t payload_bytes(const Payload& payload)
{
    std::size_t bytes = 0;
    for (const std::string& piece : payload)
        bytes += sizeof(std::string) + piece.size();
    return bytes;
}

// `next` goes on after `top`, which becomes the one step of both. Returns
// the bytes that `top` grew by: the empty side of `next` is not kept.
std::size_t merge_into(EditStep& top, EditStep&& next)
{
    top.selection_after = next.selection_after;
    switch (next.kind) {
    case EditKind::typing: {
        const std::size_t added = payload_bytes(next.after);
        top.inserted_length += next.inserted_length;
        append_pieces(top.after, std::move(next.after));
        return added;
    }
    case EditKind::deleting_backward: {
        const std::size_t added = payload_bytes(next.before);
        top.start = next.start;
        top.removed_length += next.removed_length;
        prepend_pieces(top.before, std::move(next.before));
        return added;
    }
    default: { // deleting_forward
        const std::size_t added = payload_bytes(next.before);
        top.removed_length += next.removed_length;
        append_pieces(top.before, std::move(next.before));
        return added;
    }
    }
}

} // namespace

std::size_t edit_step_bytes(const EditStep& step)
{
    return sizeof(EditStep) + payload_bytes(step.before) + payload_bytes(step.after);
}

EditHistory::EditHistory(HistoryLimits limits) : limits_(limits) {}

bool EditHistory::would_merge(const EditStep& step) const
{
    // An open run always has its step on top of the cursor.
    return run_open_ && continues_run(steps_.back(), step);
}

RecordOutcome EditHistory::record(EditStep step)
{
    const bool merging = would_merge(step);
    const EditKind kind = step.kind;
    if (merging) {
        bytes_ += merge_into(steps_.back(), std::move(step));
    } else {
        drop_redo_branch();
        bytes_ += edit_step_bytes(step);
        steps_.push_back(std::move(step));
        ++cursor_;
    }
    run_open_ = is_run_kind(kind);
    keep_within_limits();
    if (steps_.empty()) {
        run_open_ = false;
        return RecordOutcome::not_kept;
    }
    return merging ? RecordOutcome::merged : RecordOutcome::added;
}

void EditHistory::break_coalescing()
{
    run_open_ = false;
}

const EditStep* EditHistory::undo()
{
    if (!can_undo())
        return nullptr;
    run_open_ = false;
    return &steps_[--cursor_];
}

const EditStep* EditHistory::redo()
{
    if (!can_redo())
        return nullptr;
    run_open_ = false;
    return &steps_[cursor_++];
}

void EditHistory::mark_saved()
{
    saved_ = position();
    // A keystroke after saving must not join the saved state's step, or
    // undoing it would pass the saved document by.
    run_open_ = false;
}

bool EditHistory::is_modified() const
{
    return saved_ != position();
}

void EditHistory::clear()
{
    steps_.clear();
    cursor_ = 0;
    dropped_ = 0;
    bytes_ = 0;
    run_open_ = false;
    saved_ = 0;
}

void EditHistory::drop_redo_branch()
{
    while (steps_.size() > cursor_) {
        bytes_ -= edit_step_bytes(steps_.back());
        steps_.pop_back();
    }
    if (saved_ && *saved_ > position())
        saved_.reset();
}

void EditHistory::drop_oldest()
{
    bytes_ -= edit_step_bytes(steps_.front());
    steps_.pop_front();
    ++dropped_;
    --cursor_; // only called with the cursor on top of every step
    if (saved_ && *saved_ < dropped_)
        saved_.reset();
}

void EditHistory::keep_within_limits()
{
    while (!steps_.empty() && (steps_.size() > limits_.max_steps || bytes_ > limits_.max_bytes))
        drop_oldest();
}
