// The version record: 1.0.0.1, Korean with the Unicode code page (1200).
#include "ResourceParts.h"

namespace res {
namespace {

using platform::mfc::VersionResource;
using platform::mfc::VersionStringResource;

constexpr VersionStringResource kVersionStrings[] = {
    {u"CompanyName", u""},
    {u"FileDescription", u"Orvek MFC 응용 프로그램"},
    {u"FileVersion", u"1, 0, 0, 1"},
    {u"InternalName", u"Orvek"},
    {u"LegalCopyright", u"Orvek, Copyright (C) 2026"},
    {u"LegalTrademarks", u""},
    {u"OriginalFilename", u"Orvek"},
    {u"ProductName", u"Orvek 응용 프로그램"},
    {u"ProductVersion", u"1, 0, 0, 1"},
};

constexpr VersionResource kVersion = {
    {1, 0, 0, 1}, {1, 0, 0, 1}, kLanguage, 1200, kVersionStrings,
};

}  // namespace

const VersionResource& version() {
    return kVersion;
}

}  // namespace res
