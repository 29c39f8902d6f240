#include "mesh/text_source.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace mw {

namespace {

// The numbers and descriptions users of the program have always been shown, then what
// happened in plain words.
void report_load_error(MessageSink& sink, int number, const std::string& description, const std::string& sentence)
{
    sink.error("Error #:  " + std::to_string(number) + " " + description + ". " + sentence);
}

} // namespace

FileSource::~FileSource()
{
    if (file_)
        std::fclose(file_);
}

bool FileSource::open(MessageSink& sink)
{
    std::error_code ec;
    if (std::filesystem::is_directory(name(), ec)) {
        report_load_error(sink, 75, "Path/File access error",
                          name() + " is a folder, not a file: choose a file in it.");
        return false;
    }
    file_ = std::fopen(name().c_str(), "rb");
    if (file_)
        return true;
    const int err = errno;
    if (err == ENOENT || err == ENOTDIR)
        report_load_error(sink, 53, "File not found",
                          "There is no such file as " + name() + ": check the name and the folder.");
    else if (err == EACCES || err == EPERM)
        report_load_error(sink, 75, "Path/File access error",
                          name() + " cannot be opened (" + std::strerror(err) + "): check its permissions.");
    else
        report_load_error(sink, 57, "Device I/O error", name() + " cannot be opened (" + std::strerror(err) + ").");
    return false;
}

std::string_view FileSource::next_block()
{
    if (!file_ || error_ != 0)
        return {};
    buffer_.resize(kBlockSize);
    const std::size_t n = std::fread(buffer_.data(), 1, buffer_.size(), file_);
    if (n == 0 && std::ferror(file_))
        error_ = errno != 0 ? errno : EIO;
    return std::string_view(buffer_.data(), n);
}

bool FileSource::failed(MessageSink& sink) const
{
    if (error_ == 0)
        return false;
    report_load_error(sink, 57, "Device I/O error",
                      "Reading " + name() + " failed (" + std::strerror(error_) +
                          "): copy it to a local disk and try again.");
    return true;
}

bool LineReader::refill()
{
    const std::string_view block = source_.next_block();
    if (block.empty())
        return false;
    p_ = block.data();
    end_ = p_ + block.size();
    nextCr_ = find(p_, '\r');
    nextLf_ = find(p_, '\n');
    return true;
}

bool LineReader::finish(std::string_view& line)
{
    if (done_ == 0) {
        done_ = 1;
        if (!carry_.empty()) {
            line = carry_;
            carryUsed_ = true;
            return true;
        }
    }
    if (done_ == 1) {
        done_ = 2;
        line = {};
        return true;
    }
    return false;
}

bool LineReader::start(MessageSink& sink)
{
    if (!refill()) {
        if (!source_.failed(sink))
            report_load_error(sink, 62, "Input past end of file",
                              "The file " + source_.name() + " is empty: there is nothing to read in it.");
        return false;
    }
    if (end_ - p_ < 3) {
        // A block too short to hold a mark: the start of the text is gathered first.
        head_.assign(p_, end_);
        for (std::string_view block; head_.size() < 3 && !(block = source_.next_block()).empty();)
            head_.append(block);
        p_ = head_.data();
        end_ = p_ + head_.size();
        nextCr_ = find(p_, '\r');
        nextLf_ = find(p_, '\n');
    }
    const std::string_view head(p_, static_cast<std::size_t>(end_ - p_));
    if (head.starts_with("\xFF\xFE") || head.starts_with("\xFE\xFF")) {
        sink.error(source_.name() + " is UTF-16 text (\"Unicode\" in Notepad), which cannot be read: save it as UTF-8 "
                                    "or ANSI text and read it again.");
        return false;
    }
    if (head.starts_with("\xEF\xBB\xBF"))
        p_ += 3;
    return true;
}

} // namespace mw
