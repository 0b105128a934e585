// Damaged bytes in volume, where a scan per case would cost too much: nothing may read outside
// its input (the sanitizer build checks the reads) and nothing may crash.
#include "backup/MessagesReader.h"
#include "backup/PropertyList.h"
#include "backup/TypedStream.h"

#include "BackupTestSupport.h"

#include <random>

using namespace quorva;
using namespace quorva::backuptest;

TEST(Robustness, CutOrDamagedInputsGiveTheirContentOrNothing)
{
    samples::PlistDictionary list;
    list.setString("Name", "Maya\u2019s iPhone").setDate("When", utc(2024, 1, 1)).setInteger("Count", -5);
    const auto bytes = samples::archiveAttributedString("Test 3");
    const std::string archive(bytes.begin(), bytes.end());
    const std::vector<std::string> inputs = {list.serialize(samples::PlistFormat::xml),
                                             list.serialize(samples::PlistFormat::binary), archive};
    // An archive cut inside its text yields nothing; the text comes back once all of it is there.
    for (std::size_t length = 0; length <= archive.size(); ++length)
        EXPECT_EQ(firstArchivedString(std::string_view(archive).substr(0, length)).has_value(),
                  length >= archive.find("Test 3") + 6)
            << length;
    std::mt19937 random(7);
    for (const std::string& whole : inputs) {
        for (std::size_t length = 0; length < whole.size(); ++length)
            (void)PropertyList::parse(std::string_view(whole).substr(0, length));
        for (int round = 0; round < 1000; ++round) {
            std::string damaged = whole.substr(0, random() % whole.size() + 1);
            for (int hits = 0; hits < 4; ++hits)
                damaged[random() % damaged.size()] = static_cast<char>(random());
            (void)PropertyList::parse(damaged);
            (void)MessagesReader::attributedBodyText(damaged);
        }
    }
}
