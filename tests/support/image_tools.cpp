#include "tests/support/image_tools.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "tests/support/temp_dir.h"

namespace testing_support {
namespace {

std::string Quote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

std::string Join(const std::string& program, const std::vector<std::string>& args) {
    std::string line = program;
    for (const std::string& arg : args)
        line += " " + Quote(arg);
    return line;
}

// The real ImageMagick binary when present, so no wrapper rewrites our arguments.
std::string ConvertProgram() {
    for (const char* candidate : {"/usr/bin/convert-im6.q16", "/usr/bin/convert"}) {
        if (std::filesystem::exists(candidate))
            return candidate;
    }
    return "convert";
}

// Reads the next whitespace-separated token of a Netpbm header, skipping comments.
bool NextToken(const std::vector<std::uint8_t>& bytes, std::size_t& pos, std::string& token) {
    token.clear();
    while (pos < bytes.size()) {
        const char c = static_cast<char>(bytes[pos]);
        if (c == '#') {
            while (pos < bytes.size() && bytes[pos] != '\n')
                ++pos;
        } else if (c == ' ' || c == '\n' || c == '\r' || c == '\t') {
            ++pos;
        } else {
            break;
        }
    }
    while (pos < bytes.size()) {
        const char c = static_cast<char>(bytes[pos]);
        if (c == ' ' || c == '\n' || c == '\r' || c == '\t')
            break;
        token += c;
        ++pos;
    }
    return !token.empty();
}

}  // namespace

int RunShell(const std::string& commandLine) {
    const int status = std::system(commandLine.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool RunConvert(const std::vector<std::string>& args) {
    return RunShell(Join(ConvertProgram(), args) + " 2>/dev/null") == 0;
}

bool RunExiftool(const std::vector<std::string>& args) {
    return RunShell(Join("exiftool", args) + " >/dev/null 2>&1") == 0;
}

bool ReadNetpbm(const std::vector<std::uint8_t>& bytes, RgbaPicture* out) {
    std::size_t pos = 0;
    std::string token;
    if (!NextToken(bytes, pos, token))
        return false;
    int width = 0, height = 0, depth = 0, maxval = 0;
    if (token == "P6") {
        depth = 3;
        if (!NextToken(bytes, pos, token))
            return false;
        width = std::atoi(token.c_str());
        if (!NextToken(bytes, pos, token))
            return false;
        height = std::atoi(token.c_str());
        if (!NextToken(bytes, pos, token))
            return false;
        maxval = std::atoi(token.c_str());
    } else if (token == "P7") {
        while (NextToken(bytes, pos, token) && token != "ENDHDR") {
            std::string value;
            if (token == "TUPLTYPE") {
                // Ink values are no RGB; a CMYK reference must be converted to sRGB first.
                if (NextToken(bytes, pos, value) && value.rfind("CMYK", 0) == 0)
                    return false;
                continue;
            }
            if (!NextToken(bytes, pos, value))
                return false;
            const int number = std::atoi(value.c_str());
            if (token == "WIDTH")
                width = number;
            else if (token == "HEIGHT")
                height = number;
            else if (token == "DEPTH")
                depth = number;
            else if (token == "MAXVAL")
                maxval = number;
        }
    } else {
        return false;
    }
    ++pos;  // the single whitespace byte before the samples
    if (width <= 0 || height <= 0 || depth < 1 || depth > 4 || maxval != 255)
        return false;
    const std::size_t pixels = static_cast<std::size_t>(width) * height;
    if (bytes.size() < pos + pixels * depth)
        return false;
    out->width = width;
    out->height = height;
    out->rgba.assign(pixels * 4, 255);
    for (std::size_t i = 0; i < pixels; ++i) {
        const std::uint8_t* s = &bytes[pos + i * depth];
        std::uint8_t* d = &out->rgba[i * 4];
        if (depth <= 2) {  // grey, grey + alpha
            d[0] = d[1] = d[2] = s[0];
            if (depth == 2)
                d[3] = s[1];
        } else {
            d[0] = s[0];
            d[1] = s[1];
            d[2] = s[2];
            if (depth == 4)
                d[3] = s[3];
        }
    }
    return true;
}

bool DecodeWithImageMagick(const std::string& path, RgbaPicture* out, int frame) {
    TempDir dir;
    const std::string pam = dir / "reference.pam";
    std::vector<std::string> args;
    if (path.size() >= 4 && path.compare(path.size() - 4, 4, ".gif") == 0) {
        // Coalesce every frame, then drop those before and after the one asked for.
        args = {path, "-coalesce"};
        if (frame > 0)
            args.insert(args.end(), {"-delete", "0-" + std::to_string(frame - 1)});
        args.insert(args.end(), {"-delete", "1--1"});
    } else {
        args = {path + "[" + std::to_string(frame) + "]"};
    }
    args.insert(args.end(), {"-depth", "8", pam});
    if (!RunConvert(args))
        return false;
    return ReadNetpbm(ReadBytes(pam), out);
}

PixelDifference Compare(const RgbaPicture& a, const RgbaPicture& b, bool withAlpha) {
    PixelDifference result;
    if (a.width != b.width || a.height != b.height) {
        result.maximum = 256;
        return result;
    }
    double sum = 0;
    std::size_t count = 0;
    for (std::size_t i = 0; i < a.rgba.size(); ++i) {
        if (!withAlpha && i % 4 == 3)
            continue;
        const int d = std::abs(int(a.rgba[i]) - int(b.rgba[i]));
        result.maximum = std::max(result.maximum, d);
        sum += d;
        ++count;
    }
    result.mean = count ? sum / double(count) : 0;
    return result;
}

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace testing_support
