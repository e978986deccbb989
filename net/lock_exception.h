#pragma once

namespace hx {

// Describes a lock wait that ran out and writes that description to the
// diagnostic file "Mutex.log" when it is made. Never thrown.

class CLockException {
public:
    static constexpr unsigned kMessageSize = 256;

    // file may be null when the lock site is unknown.
    CLockException(const char* file, int line);

    // "Lock Exception! : Ver. 1.3-8\r\n\tSrc=<file>, Line=<line>\r\n\t<local
    // time>\r\n\r\n", cut to size. Returns 1.
    int GetErrorMessage(char* buffer, unsigned size, unsigned* helpContext = nullptr) const;

    const char* GetFile() const { return m_file; }
    int GetLine() const { return m_line; }

private:
    const char* m_file;
    int m_line;
};

}  // namespace hx
