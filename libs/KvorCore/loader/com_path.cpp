#include "libs/KvorCore/loader/com_path.h"

#include <filesystem>
#include <system_error>

mzComPathC mzComPathC::join(const mzComStringC& name) const {
    if (path_.isEmpty())
        return mzComPathC(name);
    std::u16string joined = path_.utf16();
    std::u16string_view rest = name.utf16();
    while (!rest.empty() && rest.front() == u'/')
        rest.remove_prefix(1);
    if (joined.back() != u'/')
        joined += u'/';
    joined += rest;
    return mzComPathC(mzComStringC::fromUtf16(joined));
}

mzComStringC mzComPathC::toNativeString() const {
    if (path_.isEmpty())
        return {};
    std::filesystem::path p(path_.toUtf8());
    if (p.is_relative()) {
        std::error_code ec;
        const std::filesystem::path current = std::filesystem::current_path(ec);
        if (!ec)
            p = current / p;
    }
    std::string text = p.lexically_normal().generic_string();
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    return mzComStringC(std::string_view(text));
}

mzComStringC mzComPathC::getExtension() const {
    const std::string ext = std::filesystem::path(path_.toUtf8()).extension().string();
    return ext.empty() ? mzComStringC() : mzComStringC(std::string_view(ext).substr(1));
}
