#include "Util/KXTrace.h"

#include <cctype>
#include <cstdarg>
#include <cstring>

namespace {
FILE *gTraceStream = stdout;
bool gTraceStreamSet = false;

bool isNameEnd(char c)
{
    return c == '\0' || c == '>' || c == '/' || std::isspace(static_cast<unsigned char>(c));
}

// Index of the "</name" that closes the element whose content starts at
// pos, skipping CDATA sections (their text may contain anything), or npos.
std::string::size_type findClose(const std::string &xml, std::string::size_type pos,
                                 const std::string &name)
{
    const std::string close = "</" + name;
    while (pos < xml.size()) {
        std::string::size_type lt = xml.find('<', pos);
        if (lt == std::string::npos)
            return std::string::npos;
        if (xml.compare(lt, 9, "<![CDATA[") == 0) {
            std::string::size_type end = xml.find("]]>", lt + 9);
            if (end == std::string::npos)
                return std::string::npos;
            pos = end + 3;
            continue;
        }
        if (xml.compare(lt, close.size(), close) == 0 && isNameEnd(xml[lt + close.size()]))
            return lt;
        pos = lt + 1;
    }
    return std::string::npos;
}
} // namespace

void kxTraceSetStream(FILE *stream)
{
    gTraceStream = stream;
    gTraceStreamSet = true;
}

void kxTrace(const char *format, ...)
{
    FILE *out = gTraceStreamSet ? gTraceStream : stdout;
    if (!out)
        return;
    va_list ap;
    va_start(ap, format);
    vfprintf(out, format, ap);
    va_end(ap);
    fflush(out);
}

bool kxIsSecretName(const std::string &name)
{
    // Request names (the root element, such as "KX_AES_ChangePwd") are not
    // values; masking them would hide the whole request.
    if (name.compare(0, 3, "KX_") == 0 || name.compare(0, 3, "AR_") == 0)
        return false;
    std::string lower;
    lower.reserve(name.size());
    for (char c : name)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    // Log-on passwords, encryption keys and the authentication strings that
    // guard key entries; "pwd" and "passw" also catch the GUI's variants.
    static const char *const kMarks[] = {"passw", "pwd", "auth", "key_content", "secret"};
    for (const char *mark : kMarks)
        if (lower.find(mark) != std::string::npos)
            return true;
    // The strings the GUI scrambles are values it keeps from view; the
    // scramble is undone by anyone who has the shared table, so the
    // scrambled form is as telling as the text.
    return lower == "szsource" || lower == "sztarget";
}

std::string kxMaskSecrets(const char *text)
{
    if (!text)
        return std::string();
    const std::string xml(text);
    std::string out;
    out.reserve(xml.size());
    std::string::size_type copied = 0, pos = 0;
    while ((pos = xml.find('<', pos)) != std::string::npos) {
        std::string::size_type nameStart = pos + 1;
        std::string::size_type nameEnd = nameStart;
        while (nameEnd < xml.size() && !isNameEnd(xml[nameEnd]))
            ++nameEnd;
        const std::string name = xml.substr(nameStart, nameEnd - nameStart);
        if (name.empty() || name[0] == '!' || name[0] == '?' || !kxIsSecretName(name)) {
            pos = nameStart;
            continue;
        }
        std::string::size_type tagEnd = xml.find('>', nameEnd);
        if (tagEnd == std::string::npos) {
            // A start tag that never ends: nothing after it can be trusted
            // to be harmless.
            out.append(xml, copied, nameEnd - copied);
            out += "********";
            return out;
        }
        if (xml[tagEnd - 1] == '/') { // empty element, no value
            pos = tagEnd + 1;
            continue;
        }
        std::string::size_type contentStart = tagEnd + 1;
        std::string::size_type close = findClose(xml, contentStart, name);
        out.append(xml, copied, contentStart - copied);
        out += "********";
        if (close == std::string::npos)
            return out;
        copied = close;
        pos = close + 2;
    }
    out.append(xml, copied, std::string::npos);
    return out;
}
