// Windows only: the console texts are Shift-JIS bytes. When standard output is a console,
// they reach it as UTF-16 through WriteConsoleW, converted from code page 932, so that they
// read as Japanese whatever the console's code page and whatever the C runtime would do with
// the bytes; the console's own settings are never touched. Output to a pipe or a file is left
// to the C runtime: the exact bytes, with CR LF line breaks.
#include <windows.h>

#include <iostream>
#include <optional>
#include <streambuf>
#include <string>

namespace {

constexpr UINT SHIFT_JIS_CODE_PAGE = 932;
// Bytes kept before a flush forces a write, so that output never flushed stays bounded.
constexpr std::size_t MAX_PENDING = 4096;

// Standard output for a console: the bytes are kept until a flush, then converted and
// written. A lead byte at the end of a flush waits for its trail byte, so that a double-byte
// character split across two writes stays whole.
class ConsoleOutput : public std::streambuf {
public:
    explicit ConsoleOutput(HANDLE console) : console_(console) {}

protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        pending_.push_back(traits_type::to_char_type(c));
        if (pending_.size() >= MAX_PENDING && !writeWhole()) return traits_type::eof();
        return c;
    }

    std::streamsize xsputn(const char* bytes, std::streamsize count) override {
        pending_.append(bytes, static_cast<std::size_t>(count));
        if (pending_.size() >= MAX_PENDING && !writeWhole()) return 0;
        return count;
    }

    int sync() override { return writeWhole() ? 0 : -1; }

private:
    // Writes the pending bytes up to the last whole character.
    bool writeWhole() {
        std::size_t whole = 0;
        while (whole < pending_.size()) {
            const BYTE byte = static_cast<BYTE>(pending_[whole]);
            const std::size_t length = IsDBCSLeadByteEx(SHIFT_JIS_CODE_PAGE, byte) ? 2 : 1;
            if (whole + length > pending_.size()) break;
            whole += length;
        }
        if (whole == 0) return true;
        const int size = static_cast<int>(whole);
        const int wideSize =
            MultiByteToWideChar(SHIFT_JIS_CODE_PAGE, 0, pending_.data(), size, nullptr, 0);
        std::wstring text(static_cast<std::size_t>(wideSize), L'\0');
        MultiByteToWideChar(SHIFT_JIS_CODE_PAGE, 0, pending_.data(), size, text.data(), wideSize);
        pending_.erase(0, whole);
        DWORD written = 0;
        return WriteConsoleW(console_, text.data(), static_cast<DWORD>(text.size()), &written,
                             nullptr) != 0;
    }

    HANDLE console_;
    std::string pending_;
};

class ShiftJisConsole {
public:
    ShiftJisConsole() {
        const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
        DWORD mode = 0;
        if (output == INVALID_HANDLE_VALUE || output == nullptr) return;
        if (GetFileType(output) != FILE_TYPE_CHAR || !GetConsoleMode(output, &mode)) return;
        console_.emplace(output);
        previous_ = std::cout.rdbuf(&*console_);
    }
    // What is still pending goes out, and the stream gets its own buffer back before the
    // standard streams are flushed for the last time.
    ~ShiftJisConsole() {
        if (previous_ == nullptr) return;
        std::cout.flush();
        std::cout.rdbuf(previous_);
    }
    ShiftJisConsole(const ShiftJisConsole&) = delete;
    ShiftJisConsole& operator=(const ShiftJisConsole&) = delete;

private:
    std::optional<ConsoleOutput> console_;
    std::streambuf* previous_ = nullptr;
};

// Constructed before main, after the standard streams, whose initialisation <iostream> puts
// first in this file; destroyed at exit, also when closing the window ends the process from
// inside the event loop.
const ShiftJisConsole shiftJisConsole;

}  // namespace
