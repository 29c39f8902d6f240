// Where a reader's text comes from: bytes the caller already holds, or a file read block
// by block so that a large mesh never sits in memory whole. LineReader cuts either into
// the lines the readers walk, the same lines whatever the blocks.
#pragma once

#include "core/message_sink.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace mw {

class TextSource {
  public:
    explicit TextSource(std::string name) : name_(std::move(name)) {}
    virtual ~TextSource() = default;
    TextSource(const TextSource&) = delete;
    TextSource& operator=(const TextSource&) = delete;

    // The name messages give the text (the file's path).
    const std::string& name() const { return name_; }
    // The next block of bytes; empty at the end of the text, or after a failed read
    // (then failed() is true). The block stays valid until the next call.
    virtual std::string_view next_block() = 0;
    // A read failed after the start: reports "Error #:  57 ..." and returns true.
    virtual bool failed(MessageSink& sink) const
    {
        (void)sink;
        return false;
    }

  private:
    std::string name_;
};

// Text the caller holds; handed out as one block, not copied.
class StringSource final : public TextSource {
  public:
    StringSource(std::string name, std::string_view text) : TextSource(std::move(name)), text_(text) {}
    std::string_view next_block() override
    {
        const std::string_view block = text_;
        text_ = {};
        return block;
    }

  private:
    std::string_view text_;
};

// A file read in blocks of kBlockSize bytes.
class FileSource final : public TextSource {
  public:
    static constexpr std::size_t kBlockSize = std::size_t{1} << 20;

    explicit FileSource(std::string path) : TextSource(std::move(path)) {}
    ~FileSource() override;

    // Opens the file; a missing or unreadable file or a folder is reported
    // ("Error #:  53 File not found. ...") and gives false.
    bool open(MessageSink& sink);
    std::string_view next_block() override;
    bool failed(MessageSink& sink) const override;

  private:
    std::FILE* file_ = nullptr;
    std::vector<char> buffer_;
    int error_ = 0; // errno of a failed read
};

// The lines of a source: CR LF, a lone CR and a lone LF each end a line, and one empty
// line follows the last ("a", CR LF, "b", CR LF gives "a", "b", ""). A UTF-8
// byte-order mark at the start is skipped; the editors of Windows write one.
class LineReader {
  public:
    explicit LineReader(TextSource& source) : source_(source) {}

    // Reads the first block. An empty text or one in UTF-16 is reported (with what to do)
    // and gives false; nothing else is read then.
    bool start(MessageSink& sink);

    // The next line in `line`, valid until the next call; false after the final empty line.
    bool next(std::string_view& line)
    {
        if (carryUsed_) {
            carry_.clear();
            carryUsed_ = false;
        }
        for (;;) {
            if (p_ == end_) {
                if (!refill())
                    return finish(line);
                continue;
            }
            if (skipLf_) {
                skipLf_ = false;
                if (*p_ == '\n' && ++p_ == end_)
                    continue;
            }
            if (nextCr_ < p_)
                nextCr_ = find(p_, '\r');
            if (nextLf_ < p_)
                nextLf_ = find(p_, '\n');
            const char* lineEnd = nextCr_ < nextLf_ ? nextCr_ : nextLf_;
            if (lineEnd == end_) {
                // The line goes on in the next block.
                carry_.append(p_, end_);
                p_ = end_;
                continue;
            }
            if (carry_.empty()) {
                line = std::string_view(p_, static_cast<std::size_t>(lineEnd - p_));
            } else {
                carry_.append(p_, lineEnd);
                line = carry_;
                carryUsed_ = true;
            }
            p_ = lineEnd + 1;
            if (*lineEnd == '\r')
                skipLf_ = true;
            return true;
        }
    }

  private:
    const char* find(const char* from, char c) const
    {
        const void* hit = std::memchr(from, c, static_cast<std::size_t>(end_ - from));
        return hit ? static_cast<const char*>(hit) : end_;
    }
    bool refill();
    bool finish(std::string_view& line);

    TextSource& source_;
    const char* p_ = nullptr;
    const char* end_ = nullptr;
    const char* nextCr_ = nullptr;
    const char* nextLf_ = nullptr;
    bool skipLf_ = false; // the last line ended in CR: a LF that follows belongs to it
    std::string carry_;   // the start of a line that runs on into the next block
    std::string head_;    // the first bytes, when the first block is shorter than a mark
    bool carryUsed_ = false;
    int done_ = 0; // 1: the unfinished last line was given; 2: the final empty line too
};

} // namespace mw
