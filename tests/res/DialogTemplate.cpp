#include "tests/res/DialogTemplate.h"

#include <cstring>

namespace {

// Reads little-endian fields, failing once past the end.
class Reader
{
public:
    Reader(const BYTE* data, std::size_t size) : m_data(data), m_size(size) {}

    bool ok() const { return m_ok; }

    template <typename T>
    T Get()
    {
        T value{};
        if (m_pos + sizeof(T) > m_size) {
            m_ok = false;
            return value;
        }
        std::memcpy(&value, m_data + m_pos, sizeof(T));
        m_pos += sizeof(T);
        return value;
    }

    // Items start on a DWORD boundary from the start of the template.
    void AlignToDword() { m_pos = (m_pos + 3) & ~std::size_t(3); }

    std::string String()
    {
        std::string text;
        for (WCHAR c = Get<WCHAR>(); m_ok && c != 0; c = Get<WCHAR>())
            text += c < 0x80 ? char(c) : '?';
        return text;
    }

    // A name or an ordinal: 0 for none, 0xFFFF then the ordinal, else a string.
    bool NameOrOrdinal(WORD& ordinal, std::string& name)
    {
        WORD first = Get<WORD>();
        ordinal = 0;
        name.clear();
        if (first == 0xFFFF) {
            ordinal = Get<WORD>();
        } else if (first != 0) {
            m_pos -= sizeof(WORD);
            name = String();
        }
        return first != 0;
    }

    void Skip(std::size_t n) { m_pos += n; }

private:
    const BYTE* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
    bool m_ok = true;
};

}  // namespace

std::optional<DialogTemplate> DialogTemplate::Read(const void* data, std::size_t size)
{
    Reader in(static_cast<const BYTE*>(data), size);
    DialogTemplate t;
    WORD count = 0;
    if (in.Get<WORD>() == 1 && in.Get<WORD>() == 0xFFFF) {
        t.extended = true;
        in.Get<DWORD>();  // help id
        t.exStyle = in.Get<DWORD>();
        t.style = in.Get<DWORD>();
    } else {
        in = Reader(static_cast<const BYTE*>(data), size);
        t.style = in.Get<DWORD>();
        t.exStyle = in.Get<DWORD>();
    }
    count = in.Get<WORD>();
    t.x = in.Get<short>();
    t.y = in.Get<short>();
    t.cx = in.Get<short>();
    t.cy = in.Get<short>();
    WORD ordinal;
    std::string name;
    t.hasMenu = in.NameOrOrdinal(ordinal, name);
    in.NameOrOrdinal(ordinal, name);  // window class
    t.caption = in.String();
    if (t.style & (DS_SETFONT | DS_SHELLFONT)) {
        t.pointSize = in.Get<WORD>();
        if (t.extended) {
            t.weight = in.Get<WORD>();
            t.italic = in.Get<BYTE>();
            in.Get<BYTE>();  // character set
        }
        t.typeface = in.String();
    }
    for (WORD i = 0; i < count && in.ok(); ++i) {
        in.AlignToDword();
        DialogItem item;
        if (t.extended) {
            in.Get<DWORD>();  // help id
            item.exStyle = in.Get<DWORD>();
            item.style = in.Get<DWORD>();
        } else {
            item.style = in.Get<DWORD>();
            item.exStyle = in.Get<DWORD>();
        }
        item.x = in.Get<short>();
        item.y = in.Get<short>();
        item.cx = in.Get<short>();
        item.cy = in.Get<short>();
        item.id = t.extended ? int(in.Get<DWORD>()) : int(in.Get<short>());
        in.NameOrOrdinal(item.classAtom, item.className);
        WORD textOrdinal;
        in.NameOrOrdinal(textOrdinal, item.text);
        in.Skip(in.Get<WORD>());  // creation data
        t.items.push_back(item);
    }
    if (!in.ok())
        return std::nullopt;
    return t;
}
