#include "engines/test/page.h"

#include "engines/common/uri.h"

#include <cwctype>
#include <initializer_list>

namespace {

wchar_t LowerAscii(wchar_t c) { return c >= L'A' && c <= L'Z' ? c + (L'a' - L'A') : c; }

std::wstring LowerAscii(std::wstring text) {
    for (wchar_t& c : text) c = LowerAscii(c);
    return text;
}

std::wstring Trim(const std::wstring& text) {
    size_t begin = 0, end = text.size();
    while (begin < end && iswspace(text[begin])) ++begin;
    while (end > begin && iswspace(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    c = LowerAscii(c);
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    return -1;
}

}  // namespace

bool ParseColor(const std::wstring& value, COLORREF* color) {
    if (value.empty() || value[0] != L'#') return false;
    int d[6];
    size_t n = value.size() - 1;
    if (n != 6 && n != 3) return false;
    for (size_t i = 0; i < n; ++i)
        if ((d[i] = HexDigit(value[i + 1])) < 0) return false;
    if (n == 3)
        *color = RGB(d[0] * 17, d[1] * 17, d[2] * 17);
    else
        *color = RGB(d[0] * 16 + d[1], d[2] * 16 + d[3], d[4] * 16 + d[5]);
    return true;
}

namespace {

// The value of attribute name inside a tag's text, quoted or not.
std::wstring Attribute(const std::wstring& tag, const std::wstring& name) {
    std::wstring lower = LowerAscii(tag);
    size_t at = lower.find(name + L"=");
    if (at == std::wstring::npos) return L"";
    size_t begin = at + name.size() + 1;
    if (begin < tag.size() && (tag[begin] == L'"' || tag[begin] == L'\'')) {
        size_t end = tag.find(tag[begin], begin + 1);
        return tag.substr(begin + 1, end == std::wstring::npos ? std::wstring::npos : end - begin - 1);
    }
    size_t end = tag.find_first_of(L" \t\r\n>", begin);
    return tag.substr(begin, end == std::wstring::npos ? std::wstring::npos : end - begin);
}

// Colours named by a style attribute: background (or background-color) and color.
void StyleColors(const std::wstring& tag, COLORREF* background, COLORREF* color) {
    std::wstring style = Attribute(tag, L"style");
    size_t start = 0;
    while (start <= style.size()) {
        size_t end = style.find(L';', start);
        if (end == std::wstring::npos) end = style.size();
        std::wstring declaration = style.substr(start, end - start);
        size_t colon = declaration.find(L':');
        if (colon != std::wstring::npos) {
            std::wstring name = LowerAscii(Trim(declaration.substr(0, colon)));
            std::wstring value = Trim(declaration.substr(colon + 1));
            if (background && (name == L"background" || name == L"background-color")) ParseColor(value, background);
            if (color && name == L"color") ParseColor(value, color);
        }
        start = end + 1;
    }
}

std::wstring DecodeEntity(const std::wstring& name) {
    static const struct {
        const wchar_t* name;
        const wchar_t* text;
    } kEntities[] = {
        {L"amp", L"&"},         {L"lt", L"<"},         {L"gt", L">"},          {L"quot", L"\""},
        {L"apos", L"'"},        {L"nbsp", L" "},       {L"rsaquo", L"\u203A"}, {L"lsaquo", L"\u2039"},
        {L"raquo", L"\u00BB"},  {L"laquo", L"\u00AB"}, {L"mdash", L"\u2014"},  {L"ndash", L"\u2013"},
        {L"hellip", L"\u2026"}, {L"copy", L"\u00A9"},
    };
    if (name.size() > 1 && name[0] == L'#') {
        bool hex = name[1] == L'x' || name[1] == L'X';
        unsigned long code = wcstoul(name.c_str() + (hex ? 2 : 1), nullptr, hex ? 16 : 10);
        if (code > 0 && code < 0x10000) return std::wstring(1, static_cast<wchar_t>(code));
    }
    for (const auto& entity : kEntities)
        if (name == entity.name) return entity.text;
    return L"&" + name + L";";
}

bool IsBlockTag(const std::wstring& name) {
    for (const wchar_t* block :
         {L"p",    L"div",     L"br", L"li",   L"ul", L"ol", L"tr", L"table", L"section", L"header", L"footer",
          L"main", L"article", L"hr", L"body", L"h1", L"h2", L"h3", L"h4",    L"h5",      L"h6"})
        if (name == block) return true;
    return false;
}

class HtmlReader {
public:
    explicit HtmlReader(Page& page) : page_(page), color_(page.foreground) {}

    void Read(const std::wstring& html) {
        size_t i = 0;
        while (i < html.size()) {
            if (html[i] == L'<') {
                size_t end = html.find(L'>', i);
                if (end == std::wstring::npos) break;
                i = Tag(html, html.substr(i + 1, end - i - 1), end + 1);
            } else if (html[i] == L'&') {
                size_t end = html.find(L';', i);
                if (end == std::wstring::npos || end - i > 10) {
                    Text(L"&");
                    ++i;
                } else {
                    Text(DecodeEntity(html.substr(i + 1, end - i - 1)));
                    i = end + 1;
                }
            } else {
                Text(std::wstring(1, html[i++]));
            }
        }
        Flush();
    }

private:
    // Handles one tag and returns where reading goes on.
    size_t Tag(const std::wstring& html, const std::wstring& tag, size_t next) {
        bool closing = !tag.empty() && tag[0] == L'/';
        size_t begin = closing ? 1 : 0, end = begin;
        while (end < tag.size() && (iswalnum(tag[end]) || tag[end] == L'-')) ++end;
        std::wstring name = LowerAscii(tag.substr(begin, end - begin));
        if (!closing && (name == L"script" || name == L"style" || name == L"title")) {
            size_t close = LowerAscii(html).find(L"</" + name, next);
            if (close == std::wstring::npos) return html.size();
            if (name == L"title") page_.title = Trim(html.substr(next, close - next));
            size_t after = html.find(L'>', close);
            return after == std::wstring::npos ? html.size() : after + 1;
        }
        if (!IsBlockTag(name)) return next;
        Flush();
        heading_ = false;
        color_ = page_.foreground;
        if (closing) return next;
        if (name == L"body") {
            StyleColors(tag, &page_.background, &page_.foreground);
            color_ = page_.foreground;
        } else {
            heading_ = name.size() == 2 && name[0] == L'h' && name[1] >= L'1' && name[1] <= L'6';
            StyleColors(tag, nullptr, &color_);
        }
        return next;
    }

    void Text(const std::wstring& text) {
        for (wchar_t c : text) {
            if (iswspace(c)) {
                if (!text_.empty() && text_.back() != L' ') text_ += L' ';
            } else {
                text_ += c;
            }
        }
    }

    void Flush() {
        std::wstring text = Trim(text_);
        text_.clear();
        if (!text.empty()) page_.blocks.push_back({text, heading_, color_});
    }

    Page& page_;
    std::wstring text_;
    bool heading_ = false;
    COLORREF color_;
};

}  // namespace

Page PageFromHtml(const std::wstring& uri, const std::wstring& html) {
    Page page;
    page.uri = uri;
    HtmlReader(page).Read(html);
    if (page.title.empty()) page.title = uri;
    return page;
}

Page PageForAddress(const std::wstring& uri) {
    Page page;
    page.uri = page.title = uri;
    std::wstring host = HostOf(uri);
    page.blocks.push_back({host.empty() ? uri : host, true, page.foreground});
    page.blocks.push_back({uri, false, RGB(80, 80, 80)});
    return page;
}

Page ErrorPage(const std::wstring& uri, int status) {
    Page page;
    page.uri = uri;
    page.background = RGB(243, 243, 243);
    page.error = true;
    page.title = HostOf(uri).empty() ? uri : HostOf(uri);
    page.blocks.push_back({L"This page can't be reached", true, page.foreground});
    page.blocks.push_back({uri, false, RGB(80, 80, 80)});
    page.blocks.push_back({L"Error status " + std::to_wstring(status), false, RGB(80, 80, 80)});
    return page;
}

std::wstring PageText(const Page& page) {
    std::wstring text;
    for (const PageBlock& block : page.blocks) text += (text.empty() ? L"" : L" ") + block.text;
    return text;
}
