#include "api/InfoDictionary.h"

#include <gtest/gtest.h>

using namespace quorva;

TEST(InfoDictionary, BaseURLAndVersionAreTheStoredTextsOrTheirFallbacks)
{
    const auto read = [](const std::string& key, const std::string& value) {
        return InfoDictionary::fromBytes(
            R"(<?xml version="1.0" encoding="UTF-8"?><plist version="1.0"><dict><key>)" + key + "</key>" +
            value + "</dict></plist>");
    };
    const auto url = [&](const std::string& value) {
        return read("QUORVA_API_BASE_URL", value).apiBaseURL();
    };
    const QUrl production("https://api.quorva.app");

    EXPECT_EQ(url("<string>http://127.0.0.1:8787/prefix/</string>"), QUrl("http://127.0.0.1:8787/prefix/"));
    for (const char* unusable :
         {"<string></string>", "<integer>8787</integer>", "<string>not a url</string>",
          "<string>/relative/only</string>", "<string> https://staging.example</string>"})
        EXPECT_EQ(url(unusable), production) << unusable;
    EXPECT_EQ(read("Other", "<string>http://x</string>").apiBaseURL(), production);
    EXPECT_EQ(InfoDictionary::fromBytes("not a property list").apiBaseURL(), production);

    EXPECT_EQ(read("CFBundleShortVersionString", "<string>2.5.1</string>").shortVersion(), "2.5.1");
    EXPECT_EQ(read("Other", "<string>2.5.1</string>").shortVersion(), "0.1.0");
}
