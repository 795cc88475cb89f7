// The property items a picture or bitmap carries (EXIF tags, frame delays), owned as values and
// handed out in the packed layout the interfaces use: the PropertyItem array followed by the
// values it points to, all in one block.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/imaging/imaging_types.h"

namespace platform::imaging {

struct PropertyValue {
    PROPID id = 0;
    WORD type = PropertyTagTypeUndefined;
    std::vector<std::uint8_t> value;
};

class PropertySet {
  public:
    // Adds the item, replacing one with the same id.
    void Set(PROPID id, WORD type, std::span<const std::uint8_t> value);
    void SetLongs(PROPID id, std::span<const UINT> values);
    void SetShort(PROPID id, WORD value);
    bool Remove(PROPID id);
    const PropertyValue* Find(PROPID id) const;
    const std::vector<PropertyValue>& Items() const { return items_; }
    UINT Count() const { return static_cast<UINT>(items_.size()); }
    bool Empty() const { return items_.empty(); }

    // Copies `count` items (each value `length` bytes at `value`); E_INVALIDARG for a null
    // array with a count, or an item with a length but no value.
    HRESULT AddItems(UINT count, const PropertyItem* items);

    // Bytes of the packed block: the array and every value, each value 4-byte aligned.
    UINT PackedSize() const;
    // Writes the packed block into `out`; E_INVALIDARG when `totalBufferSize` or `count` do not
    // match PackedSize() and Count().
    HRESULT Pack(UINT totalBufferSize, UINT count, PropertyItem* out) const;
    // One item in its own block (PropertyItem then the value): its size, and the copy.
    // E_INVALIDARG for an unknown id or a size that does not match.
    HRESULT ItemSize(PROPID id, UINT* size) const;
    HRESULT CopyItem(PROPID id, UINT size, PropertyItem* out) const;

  private:
    std::vector<PropertyValue> items_;
};

}  // namespace platform::imaging
