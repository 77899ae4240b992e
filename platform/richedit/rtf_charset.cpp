#include "platform/richedit/rtf_charset.h"

namespace richedit::rtf {

namespace {

struct CharsetCodePage {
    int charset;
    int codePage;
};

constexpr CharsetCodePage kCharsets[] = {
    {0, 1252},   {77, 10000}, {128, 932},  {129, 949},  {130, 1361}, {134, 936}, {136, 950},
    {161, 1253}, {162, 1254}, {163, 1258}, {177, 1255}, {178, 1256}, {186, 1257}, {204, 1251},
    {222, 874},  {238, 1250}, {254, 437},  {255, 850},
};

}  // namespace

int codePageForCharset(int charset, int ansiCodePage) {
    for (const auto& entry : kCharsets)
        if (entry.charset == charset) return entry.codePage;
    return ansiCodePage;
}

int charsetForCodePage(int codePage) {
    for (const auto& entry : kCharsets)
        if (entry.codePage == codePage) return entry.charset;
    return 1;
}

}  // namespace richedit::rtf
