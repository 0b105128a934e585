#include "api/InfoDictionary.h"

#include <gtest/gtest.h>

using namespace quorva;

namespace {

std::string plist(const std::string& entries)
{
    return R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0"><dict>)" +
           entries + "</dict></plist>";
}

QUrl baseURLFrom(const std::string& entries)
{
    return InfoDictionary::fromBytes(plist(entries)).apiBaseURL();
}

const QUrl kProduction("https://api.quorva.app");

} // namespace

TEST(InfoDictionary, BaseURLIsTheStoredTextOrTheProductionOrigin)
{
    EXPECT_EQ(baseURLFrom("<key>QUORVA_API_BASE_URL</key><string>http://127.0.0.1:8787/prefix/</string>"),
              QUrl("http://127.0.0.1:8787/prefix/")); // kept as stored, trailing slash and all

    EXPECT_EQ(baseURLFrom("<key>QUORVA_API_BASE_URL</key><string></string>"), kProduction);
    EXPECT_EQ(baseURLFrom("<key>QUORVA_API_BASE_URL</key><integer>8787</integer>"), kProduction);
    EXPECT_EQ(baseURLFrom("<key>Other</key><string>http://x</string>"), kProduction);
    EXPECT_EQ(baseURLFrom("<key>QUORVA_API_BASE_URL</key><string>not a url</string>"), kProduction);
    EXPECT_EQ(baseURLFrom("<key>QUORVA_API_BASE_URL</key><string>/relative/only</string>"), kProduction);
    EXPECT_EQ(baseURLFrom("<key>QUORVA_API_BASE_URL</key><string> https://staging.example</string>"),
              kProduction);
    EXPECT_EQ(InfoDictionary::fromBytes("not a property list").apiBaseURL(), kProduction);
}

TEST(InfoDictionary, VersionIsTheShortVersionStringOrTheFallback)
{
    EXPECT_EQ(InfoDictionary::fromBytes(plist("<key>CFBundleShortVersionString</key><string>2.5.1</string>"))
                  .shortVersion(),
              "2.5.1");
    EXPECT_EQ(InfoDictionary::fromBytes(plist("<key>CFBundleShortVersionString</key><real>2.5</real>"))
                  .shortVersion(),
              "0.1.0");
    EXPECT_EQ(InfoDictionary::fromBytes(plist("")).shortVersion(), "0.1.0");
}
