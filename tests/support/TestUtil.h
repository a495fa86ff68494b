#ifndef TESTSUPPORT_TESTUTIL_H
#define TESTSUPPORT_TESTUTIL_H

#include <cstdio>
#include <functional>
#include <string>

namespace testsupport {

// A fresh directory under the system's temporary directory that is made the
// current directory for the object's lifetime and removed afterwards.
class TempCwd {
public:
    TempCwd();
    ~TempCwd();
    TempCwd(const TempCwd&) = delete;
    TempCwd& operator=(const TempCwd&) = delete;

    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::string previous_;
};

// Reads a whole file; an empty string when it cannot be opened.
std::string readFile(const std::string& path);
bool fileExists(const std::string& path);

// What a function writes to a FILE*, as a string.
std::string captureFile(const std::function<void(FILE*)>& write);

} // namespace testsupport

#endif
