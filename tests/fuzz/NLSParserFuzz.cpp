// The message catalogue parser over arbitrary catalogues, keys and parameters.
// The input is split at its NUL bytes: the catalogue, then the key, then up to
// twelve parameters. Every lookup must end and stay within its texts.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

#include "monitor/NLSParser.h"
#include "monitor/StringTokenizer.h"

namespace {

std::vector<std::string> splitAtNul(const uint8_t* data, size_t size)
{
    std::vector<std::string> parts(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0 && parts.size() < 14)
            parts.emplace_back();
        else
            parts.back() += static_cast<char>(data[i]);
    }
    return parts;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = "nls-fuzz-" + std::to_string(getpid()) + ".properties";
    std::vector<std::string> parts = splitAtNul(data, size);
    const std::string& catalogue = parts[0];
    std::string key = parts.size() > 1 ? parts[1] : std::string();
    std::vector<std::string> params(parts.begin() + (parts.size() > 2 ? 2 : parts.size()), parts.end());

    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        return 0;
    fwrite(catalogue.data(), 1, catalogue.size(), f);
    fclose(f);

    NLSParser parser(path);
    parser.get(key);
    parser.get(key, params);
    std::vector<int> numbers;
    for (const std::string& p : params)
        numbers.push_back(static_cast<int>(p.size()) - 3);
    parser.get(key, numbers);

    // The markers of the key itself, as a text.
    std::string text = key;
    parser.replacePhraseStrings(text);
    parser.parse(text, params);
    NLSParser::trim(text);

    StringTokenizer tokens(catalogue, key);
    while (tokens.hasMoreTokens())
        tokens.nextToken();

    int value = 0;
    for (size_t i = 0; i < size && i < sizeof value; ++i)
        value = static_cast<int>(static_cast<unsigned>(value) << 8 | data[i]);
    NLSParser::itoa(value, static_cast<int>(size % 20));
    NLSParser::ltoa(value, static_cast<int>(key.size() % 20));

    unlink(path.c_str());
    return 0;
}
