#include "support/TestUtil.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace testsupport {

TempCwd::TempCwd()
{
    const char* base = getenv("TMPDIR");
    std::string tmpl = std::string(base && *base ? base : "/tmp") + "/tarnell-test-XXXXXX";
    if (!mkdtemp(tmpl.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = tmpl;
    previous_ = std::filesystem::current_path().string();
    std::filesystem::current_path(path_);
}

TempCwd::~TempCwd()
{
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
    std::filesystem::remove_all(path_, ec);
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

bool fileExists(const std::string& path) { return std::filesystem::exists(path); }

std::string captureFile(const std::function<void(FILE*)>& write)
{
    char* buf = nullptr;
    size_t len = 0;
    FILE* f = open_memstream(&buf, &len);
    if (!f)
        throw std::runtime_error("open_memstream failed");
    write(f);
    fclose(f);
    std::string out(buf, len);
    free(buf);
    return out;
}

} // namespace testsupport
