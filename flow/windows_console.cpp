// Windows only: the console texts are Shift-JIS bytes, which the Windows console shows as
// Japanese under code page 932. When standard output is a console, its output and input code
// pages become 932 for the life of the process and the previous ones come back at exit; the
// bytes written stay the same. Output to a pipe or a file is left alone.
#include <windows.h>

namespace {

constexpr UINT SHIFT_JIS_CODE_PAGE = 932;

class ShiftJisConsole {
public:
    ShiftJisConsole() {
        DWORD mode = 0;
        const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
        if (output == INVALID_HANDLE_VALUE || output == nullptr) return;
        if (GetFileType(output) != FILE_TYPE_CHAR || !GetConsoleMode(output, &mode)) return;
        outputPage_ = GetConsoleOutputCP();
        inputPage_ = GetConsoleCP();
        SetConsoleOutputCP(SHIFT_JIS_CODE_PAGE);
        SetConsoleCP(SHIFT_JIS_CODE_PAGE);
    }
    ~ShiftJisConsole() {
        if (outputPage_ != 0) SetConsoleOutputCP(outputPage_);
        if (inputPage_ != 0) SetConsoleCP(inputPage_);
    }
    ShiftJisConsole(const ShiftJisConsole&) = delete;
    ShiftJisConsole& operator=(const ShiftJisConsole&) = delete;

private:
    UINT outputPage_ = 0;
    UINT inputPage_ = 0;
};

// Constructed before main and destroyed at exit, also when closing the window ends the
// process from inside the event loop.
const ShiftJisConsole shiftJisConsole;

}  // namespace
