#include "SamplePhrases.h"

#include <array>
#include <cctype>
#include <span>

namespace quorva::samples {
namespace {

using Words = std::span<const std::string_view>;

constexpr std::array<std::string_view, 14> kNames = {"Maya", "Zoë",    "Léa",   "Noah",  "Sofía",
                                                     "Liam", "Amélie", "José",  "Chloé", "Ethan",
                                                     "Ava",  "Mateo",  "Björn", "Priya"};
constexpr std::array<std::string_view, 10> kPlaces = {
    "the library", "soccer practice", "the mall",    "Grandma’s",  "the café on Main St",
    "school",      "the pool",        "Zoë’s house", "the bakery", "the skate park"};
constexpr std::array<std::string_view, 7> kTimes = {"3:15", "4:30", "5", "6:45", "7pm", "noon", "8:20"};
constexpr std::array<std::string_view, 6> kDays = {"Monday",   "Tuesday", "Wednesday",
                                                   "Thursday", "Friday",  "Saturday"};
constexpr std::array<std::string_view, 8> kFoods = {
    "pizza", "tacos", "crêpes", "pasta", "jalapeño poppers", "sushi", "crème brûlée", "pho"};
constexpr std::array<std::string_view, 6> kSubjects = {"math",    "science", "Spanish",
                                                       "history", "art",     "biology"};

// Slots: {name} {place} {time} {day} {food} {subject}. None of these may contain a flagged phrase,
// not even inside a longer word ("closer" holds "loser", "decode" holds "code").
constexpr std::array<std::string_view, 42> kOrdinary = {
    "Can you pick me up from {place} at {time}?",
    "Dinner is at {time} tonight, we’re having {food} 🍽️",
    "{name} said the {subject} test got moved to {day}",
    "Did you finish your {subject} homework yet?",
    "Love you! Have a great day at school ❤️",
    "Don’t forget to call Grandma tonight, she misses you",
    "Practice is cancelled today because of the rain ☔",
    "We’re at {place}, come say hi when you’re done",
    "Can I borrow your charger? Mine’s almost empty 🔋",
    "Happy birthday {name}!!! 🎉🎂 hope it’s the best day ever",
    "lol that video {name} sent was so funny 😂😂",
    "Are we still going to the movies on {day}?",
    "The bus is running about 10 minutes late today",
    "Don't forget your lunch, it's on the kitchen counter",
    "Señora Pérez gave us a pop quiz in {subject} today 😩",
    "Do you want {food} or {food} for dinner on {day}?",
    "Here’s the recipe I told you about: https://recipes.example.com/banana-bread",
    "Meet at the north entrance of the park at {time}",
    "Can you bring the blue folder to {place}? I left it in the car",
    "{name}’s mom is driving us to {place} after school",
    "Good luck on your {subject} test today! You’ve got this 💪",
    "I’m at the pharmacy, do you need anything?",
    "Remember to feed the cat before you leave 🐱",
    "Is it okay if {name} sleeps over on {day}?",
    "The Wi-Fi at the cabin is terrible, will text later",
    "Thanks for helping with the groceries, you’re the best",
    "Who took my headphones? 🎧 they were on the desk",
    "Grandpa says hi and wants to know how school is going",
    "We’ll be home around {time}, there’s leftover {food} in the fridge",
    "Can you send me the link for the class photo order form?",
    "Niño, your abuela is coming for dinner on {day} 🥘",
    "Piano lesson is at {time} on {day}, don't forget your book",
    "The field trip form needs a signature by {day}",
    "I saved you a slice of {food} 🍕",
    "Check the weather, it’s supposed to snow on {day} ❄️",
    "Coach says bring water and your cleats to {place}",
    "Did {name} ever give back your hoodie?",
    "Ça va? Just landed, will call you from the hotel ✈️",
    "Reminder: dentist appointment {day} at {time} 🦷",
    "Are you coming to {name}’s party on {day}? 🎈",
    "Map for the tournament: https://maps.example.org/fields/north-lot",
    "ok! see you at {place} at {time}",
};

constexpr std::array<std::string_view, 36> kRisky = {
    // secrecy or grooming
    "Don’t tell your parents we talk, ok? {name} can’t know either",
    "this is our little secret 🤫 promise me",
    "are you alone? I want to show you something",
    "send me a pic of what you’re wearing today",
    "Let's move to another app, this one isn't private",
    "You have to keep this secret from your mom",
    "DON'T TELL YOUR PARENTS about the money I gave you",
    "can you send a picture of your room? just curious",
    // sexual pressure
    "you should send pics, nobody will ever see them",
    "wanna hook up after the game on {day}?",
    "post a sexy photo like the other girls do",
    "take your clothes off on the video call, it’s fine",
    // threat or coercion
    "do it or else everyone at school sees the screenshots",
    "I will leak your messages to the whole class",
    "you’ll regret ignoring me, I know where {place} is",
    "answer me or I’ll expose you tomorrow",
    // self-harm
    "honestly I want to die, nothing ever gets better",
    "sometimes I think I’ll hurt myself, don’t be mad",
    "there’s no reason to live anymore, sorry for everything",
    // bullying
    "everyone hates you, just stay home on {day}",
    "nobody likes you, why do you even come to {place}",
    "you’re ugly and everyone knows it 😂",
    "what a loser, you can’t even sit with us",
    // scam or financial pressure
    "Congrats! You won a $500 gift card, reply YES to claim 🎁",
    "Your account will be locked, reply with the verification code we sent",
    "I need you to send money today, it’s an emergency, don’t ask",
    "buy a gift card at the store and send me the numbers",
    "Final notice: urgent payment needed to keep your number active",
    // urgent links
    "URGENT: verify your account now https://secure-login.example.net/session",
    "Your package is on hold, confirm immediately: https://parcel-help.example.org/track",
    "Your password expired. Reset it here http://account-reset.example.com",
    "Claim your prize before it expires bit.ly/3xYzAbq urgent",
    "Account locked! Unlock it at tinyurl.com/ab12cd",
    "Vérifiez votre compte immédiatement: https://compte-securite.example.fr/verify",
    "Your login code is ready, open https://auth-check.example.net/r/77 right now",
    "Hey it’s {name}, pls verify ur number https://free-skins.example.com/claim",
};

constexpr std::array<std::string_view, 7> kOpeners = {"", "", "", "Hey! ", "Hi sweetie, ", "Ok so ", "omg "};
constexpr std::array<std::string_view, 7> kClosers = {"", "", "", " 😊", " thanks!", " xx", " see you soon"};

std::string fill(std::string_view pattern, SampleRandom& random)
{
    std::string out;
    size_t at = 0;
    while (at < pattern.size()) {
        const size_t open = pattern.find('{', at);
        const size_t close = open == std::string_view::npos ? open : pattern.find('}', open);
        if (close == std::string_view::npos) {
            out.append(pattern.substr(at));
            break;
        }
        out.append(pattern.substr(at, open - at));
        const std::string_view slot = pattern.substr(open + 1, close - open - 1);
        const Words words = slot == "name"    ? Words(kNames)
                            : slot == "place" ? Words(kPlaces)
                            : slot == "time"  ? Words(kTimes)
                            : slot == "day"   ? Words(kDays)
                            : slot == "food"  ? Words(kFoods)
                                              : Words(kSubjects);
        out.append(random.pick(words));
        at = close + 1;
    }
    return out;
}

// Wraps a body in an opener and a closer while it stays within 20 to 120 characters.
std::string dress(std::string body, SampleRandom& random)
{
    const std::string_view opener = random.pick(kOpeners);
    const std::string_view closer = random.pick(kClosers);
    if (characterCount(body) + characterCount(opener) + characterCount(closer) <= 120) {
        // "Hey! " starts a sentence; "Hi sweetie, " and "omg " run into one.
        if (!opener.empty() && !opener.ends_with("! ") && body.size() > 1 &&
            std::isupper(static_cast<unsigned char>(body[0])) &&
            std::islower(static_cast<unsigned char>(body[1])))
            body[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(body[0])));
        body = std::string(opener) + body + std::string(closer);
    }
    while (characterCount(body) < 20)
        body += " see you soon";
    return body;
}

} // namespace

size_t characterCount(std::string_view utf8)
{
    size_t count = 0;
    for (const unsigned char byte : utf8)
        count += (byte & 0xC0) != 0x80 ? 1 : 0;
    return count;
}

std::string ordinaryText(SampleRandom& random)
{
    return dress(fill(random.pick(kOrdinary), random), random);
}

std::string riskyText(SampleRandom& random)
{
    std::string text = fill(random.pick(kRisky), random);
    // Some senders shout; the classifier folds case, so these must still be flagged.
    if (random.chance(0.1))
        for (char& c : text)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return dress(std::move(text), random);
}

} // namespace quorva::samples
