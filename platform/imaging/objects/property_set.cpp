#include "platform/imaging/objects/property_set.h"

#include <algorithm>
#include <cstring>

namespace platform::imaging {

namespace {

// Values follow the array, each starting on a 4-byte boundary so LONG and RATIONAL values
// can be read in place.
constexpr std::size_t AlignedSize(std::size_t bytes) {
    return (bytes + 3) & ~std::size_t{3};
}

void WriteItem(const PropertyValue& from, PropertyItem* item, std::uint8_t* valueAt) {
    item->id = from.id;
    item->type = from.type;
    item->length = static_cast<ULONG>(from.value.size());
    item->value = from.value.empty() ? nullptr : valueAt;
    if (!from.value.empty())
        std::memcpy(valueAt, from.value.data(), from.value.size());
}

}  // namespace

void PropertySet::Set(PROPID id, WORD type, std::span<const std::uint8_t> value) {
    PropertyValue item{id, type, {value.begin(), value.end()}};
    for (PropertyValue& existing : items_) {
        if (existing.id == id) {
            existing = std::move(item);
            return;
        }
    }
    items_.push_back(std::move(item));
}

void PropertySet::SetLongs(PROPID id, std::span<const UINT> values) {
    std::vector<std::uint8_t> bytes(values.size() * 4);
    if (!values.empty())
        std::memcpy(bytes.data(), values.data(), bytes.size());
    Set(id, PropertyTagTypeLong, bytes);
}

void PropertySet::SetShort(PROPID id, WORD value) {
    std::uint8_t bytes[2];
    std::memcpy(bytes, &value, 2);
    Set(id, PropertyTagTypeShort, bytes);
}

bool PropertySet::Remove(PROPID id) {
    return std::erase_if(items_, [id](const PropertyValue& v) { return v.id == id; }) > 0;
}

const PropertyValue* PropertySet::Find(PROPID id) const {
    for (const PropertyValue& item : items_) {
        if (item.id == id)
            return &item;
    }
    return nullptr;
}

HRESULT PropertySet::AddItems(UINT count, const PropertyItem* items) {
    if (count > 0 && !items)
        return E_INVALIDARG;
    for (UINT i = 0; i < count; ++i) {
        if (items[i].length > 0 && !items[i].value)
            return E_INVALIDARG;
    }
    for (UINT i = 0; i < count; ++i) {
        const auto* bytes = static_cast<const std::uint8_t*>(items[i].value);
        Set(items[i].id, items[i].type, {bytes, bytes ? items[i].length : 0});
    }
    return S_OK;
}

UINT PropertySet::PackedSize() const {
    std::size_t total = items_.size() * sizeof(PropertyItem);
    for (const PropertyValue& item : items_)
        total += AlignedSize(item.value.size());
    return static_cast<UINT>(total);
}

HRESULT PropertySet::Pack(UINT totalBufferSize, UINT count, PropertyItem* out) const {
    if (!out || count != Count() || totalBufferSize != PackedSize())
        return E_INVALIDARG;
    auto* values = reinterpret_cast<std::uint8_t*>(out + items_.size());
    for (std::size_t i = 0; i < items_.size(); ++i) {
        WriteItem(items_[i], &out[i], values);
        values += AlignedSize(items_[i].value.size());
    }
    return S_OK;
}

HRESULT PropertySet::ItemSize(PROPID id, UINT* size) const {
    const PropertyValue* item = Find(id);
    if (!item || !size)
        return E_INVALIDARG;
    *size = static_cast<UINT>(sizeof(PropertyItem) + item->value.size());
    return S_OK;
}

HRESULT PropertySet::CopyItem(PROPID id, UINT size, PropertyItem* out) const {
    const PropertyValue* item = Find(id);
    if (!item || !out || size != sizeof(PropertyItem) + item->value.size())
        return E_INVALIDARG;
    WriteItem(*item, out, reinterpret_cast<std::uint8_t*>(out + 1));
    return S_OK;
}

}  // namespace platform::imaging
