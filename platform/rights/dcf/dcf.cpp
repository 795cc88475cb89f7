#include "platform/rights/dcf/dcf.h"

#include "platform/rights/dcf/uintvar.h"

namespace platform::rights {
namespace {

// Reads the file front to back; every read is checked against what is left.
class Reader {
  public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::size_t Offset() const { return offset_; }
    std::size_t Remaining() const { return size_ - offset_; }

    bool Byte(std::uint8_t& out) {
        if (Remaining() < 1)
            return false;
        out = data_[offset_++];
        return true;
    }

    bool Text(std::size_t length, std::string& out) {
        if (Remaining() < length)
            return false;
        out.assign(reinterpret_cast<const char*>(data_ + offset_), length);
        offset_ += length;
        return true;
    }

    bool Uintvar(std::uint32_t& out) {
        std::size_t consumed = 0;
        if (!DecodeUintvar(data_ + offset_, Remaining(), out, consumed))
            return false;
        offset_ += consumed;
        return true;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t offset_ = 0;
};

bool ParseHeaderLine(std::string_view line, DcfHeaders& out) {
    const auto colon = line.find(':');
    if (colon == std::string_view::npos)
        return false;
    const std::string_view name = line.substr(0, colon);
    const std::string_view value = TrimBlanks(line.substr(colon + 1));
    if (!IsDcfHeaderName(name) || !IsDcfHeaderValue(value))
        return false;
    out.emplace_back(std::string(name), std::string(value));
    return true;
}

// Every line, the last one included, ends in CRLF; a bare CR or LF left inside a line is
// refused by the name and value checks.
bool ParseHeaderBlock(std::string_view block, DcfHeaders& out) {
    while (!block.empty()) {
        const auto end = block.find("\r\n");
        if (end == std::string_view::npos)
            return false;
        const std::string_view line = block.substr(0, end);
        if (!ParseHeaderLine(line, out))
            return false;
        block.remove_prefix(end + 2);
    }
    return true;
}

// No header means the default method; any other method would decrypt to garbage.
bool UsesAes128Cbc(const DcfFile& file) {
    const auto method = file.Header("Encryption-Method");
    return !method || IsAes128CbcMethod(*method);
}

bool DataLengthIsSound(std::size_t length) {
    return length >= 2 * kDcfBlockSize && length % kDcfBlockSize == 0;
}

bool IsPrintableAscii(std::string_view text) {
    for (const char c : text) {
        if (c <= ' ' || c > '~')
            return false;
    }
    return !text.empty();
}

}  // namespace

bool IsDcfHeaderName(std::string_view name) {
    return IsPrintableAscii(name) && name.find(':') == std::string_view::npos;
}

bool IsDcfHeaderValue(std::string_view value) {
    return value.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

bool IsAes128CbcMethod(std::string_view headerValue) {
    return EqualsAsciiNoCase(TrimBlanks(headerValue.substr(0, headerValue.find(';'))),
                             kAes128CbcMethod);
}

std::optional<std::string> DcfFile::Header(std::string_view name) const {
    for (const auto& [key, value] : headers) {
        if (EqualsAsciiNoCase(key, name))
            return value;
    }
    return std::nullopt;
}

std::optional<DcfFile> ParseDcf(const std::uint8_t* data, std::size_t size) {
    Reader reader(data, size);
    DcfFile file;
    std::uint8_t typeLength = 0;
    std::uint8_t uriLength = 0;
    if (!reader.Byte(file.version) || file.version != kDcfVersion || !reader.Byte(typeLength) ||
        !reader.Byte(uriLength) || typeLength == 0 || uriLength == 0 ||
        !reader.Text(typeLength, file.contentType) || !reader.Text(uriLength, file.contentUri))
        return std::nullopt;

    std::uint32_t headersLength = 0;
    std::uint32_t dataLength = 0;
    std::string headerBlock;
    if (!reader.Uintvar(headersLength) || !reader.Uintvar(dataLength) ||
        !reader.Text(headersLength, headerBlock) || !ParseHeaderBlock(headerBlock, file.headers) ||
        !UsesAes128Cbc(file))
        return std::nullopt;

    if (!DataLengthIsSound(dataLength) || reader.Remaining() < dataLength)
        return std::nullopt;
    file.dataOffset = reader.Offset();
    file.dataLength = dataLength;
    return file;
}

bool LooksLikeDcf(const std::uint8_t* data, std::size_t size) {
    if (size < 3 || data[0] != kDcfVersion || data[1] == 0 || data[2] == 0)
        return false;
    const std::size_t typeLength = data[1];
    const std::size_t uriLength = data[2];
    if (size - 3 < typeLength + uriLength)
        return false;
    const std::string_view type(reinterpret_cast<const char*>(data + 3), typeLength);
    const std::string_view uri(reinterpret_cast<const char*>(data + 3 + typeLength), uriLength);
    return IsPrintableAscii(type) && type.find('/') != std::string_view::npos &&
           IsPrintableAscii(uri);
}

}  // namespace platform::rights
