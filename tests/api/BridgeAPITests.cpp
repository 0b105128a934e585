#include "Await.h"
#include "Printers.h"

#include "api/BridgeAPI.h"
#include "model/BridgeClientError.h"
#include "model/PlatformError.h"

#include <QHostAddress>
#include <QMap>
#include <QNetworkAccessManager>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <deque>
#include <stdexcept>

using namespace quorva;
using namespace std::chrono_literals;
using nlohmann::json;

namespace {

// One request's head as it arrived on the wire: path and query as sent, header names lower-cased.
struct RecordedRequest {
    QByteArray target;
    QMap<QByteArray, QByteArray> headers;
};

// An HTTP/1.1 server on 127.0.0.1 that records every request and answers each with the next
// scripted reply, in order; an unscripted request gets a 599. Raw replies give full control
// of the wire.
class LoopbackServer : public QObject {
public:
    LoopbackServer()
    {
        if (!m_server.listen(QHostAddress::LocalHost, 0))
            throw std::runtime_error("the loopback server could not listen");
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection()) {
                socket->setParent(this);
                connect(socket, &QTcpSocket::readyRead, this,
                        [this, socket, buffer = std::make_shared<QByteArray>()] { read(socket, *buffer); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }

    [[nodiscard]] QUrl url(const QString& path = "/") const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path));
    }

    // A reply with Content-Length and a deliberately non-standard reason phrase.
    void answer(int status, const QByteArray& body)
    {
        answerRaw("HTTP/1.1 " + QByteArray::number(status) +
                  " Scripted Reason\r\nContent-Type: application/json\r\nContent-Length: " +
                  QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
    }
    void answerRaw(const QByteArray& bytes) { m_script.push_back({bytes}); }
    void neverAnswer() { m_script.push_back({}); }
    // Writes the reply's head at once and its body a byte every `gap`: never silent for long,
    // and slow to finish.
    void answerTrickling(const QByteArray& bytes, std::chrono::milliseconds gap)
    {
        m_script.push_back({bytes, gap});
    }

    [[nodiscard]] const std::vector<RecordedRequest>& requests() const { return m_requests; }

private:
    struct Reply {
        QByteArray bytes; // none: silence
        std::chrono::milliseconds gap{0};
    };

    // A byte every `gap`, then closes; the socket going away stops the timer.
    void trickle(QTcpSocket* socket, const QByteArray& rest, std::chrono::milliseconds gap)
    {
        if (rest.isEmpty())
            return socket->disconnectFromHost();
        socket->write(rest.left(1));
        QTimer::singleShot(gap, socket, [=, this] { trickle(socket, rest.mid(1), gap); });
    }

    void read(QTcpSocket* socket, QByteArray& buffer)
    {
        buffer += socket->readAll();
        const qsizetype headEnd = buffer.indexOf("\r\n\r\n");
        if (headEnd < 0)
            return;
        RecordedRequest request;
        const QList<QByteArray> lines = buffer.left(headEnd).replace("\r\n", "\n").split('\n');
        request.target = lines.front().split(' ').value(1);
        // Values keep their trailing spaces: "Bearer " with an empty token must stay visible.
        for (const QByteArray& line : lines.mid(1))
            if (const qsizetype colon = line.indexOf(':'); colon > 0)
                request.headers[line.left(colon).toLower()] = line.mid(colon + 2);
        const qsizetype length = request.headers.value("content-length").toLongLong();
        if (buffer.size() < headEnd + 4 + length)
            return; // the body is still on its way
        buffer.clear();
        m_requests.push_back(std::move(request));

        if (m_script.empty())
            answer(599, R"({"error":"no reply was scripted for this request"})");
        const Reply reply = m_script.front();
        m_script.pop_front();
        if (reply.bytes.isEmpty())
            return;
        const qsizetype head =
            reply.gap.count() > 0 ? reply.bytes.indexOf("\r\n\r\n") + 4 : reply.bytes.size();
        socket->write(reply.bytes.left(head));
        trickle(socket, reply.bytes.mid(head), reply.gap);
    }

    QTcpServer m_server;
    std::deque<Reply> m_script;
    std::vector<RecordedRequest> m_requests;
};

const QByteArray kChildren = R"({"children":[{"id":"c1","name":"Ada"},{"id":"c2","name":"Ben","extra":1}]})";
const QByteArray kRedeem = R"({"bridge":{"id":"b1","platform":"macos","status":"active"},"bridgeToken":"tok",
    "tokenExpiresAt":"2026-03-01T08:15:30.250Z","state":"paired"})";

using test::errorOf;
using E = BridgeClientError;

class BridgeAPITest : public ::testing::Test {
protected:
    QNetworkAccessManager nam;
    LoopbackServer server;
    BridgeAPI api{server.url(), nam, 5s};
};

TEST_F(BridgeAPITest, SendsExactlyTheHeadersOfEachRequestToPathsThatReplaceTheBaseURLs)
{
    QUrl base = server.url("/prefix/api/");
    base.setQuery("debug=1");
    base.setUserInfo("user:secret");
    BridgeAPI prefixed(base, nam, 5s);
    server.answer(200, kChildren);
    const auto children = test::resultOf(prefixed.fetchChildren("tok-1"));
    EXPECT_EQ(children.children, (std::vector<BridgeChild>{{"c1", "Ada"}, {"c2", "Ben"}}));
    server.answer(200, kRedeem);
    EXPECT_EQ(test::resultOf(prefixed.redeem("CODE", "Mac")).bridgeToken, "tok");
    server.answer(200, R"({"success":true})");
    (void)test::resultOf(prefixed.sendHeartbeat({.status = "error"}, ""));

    // Methods and the body's type meet the development service's routes in every state test.
    const auto& sent = server.requests();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0].target, "/v1/parental/bridges/children");
    EXPECT_EQ(sent[0].headers.value("accept"), "application/json");
    EXPECT_EQ(sent[0].headers.value("authorization"), "Bearer tok-1"); // never the user information
    EXPECT_FALSE(sent[0].headers.contains("content-type"));
    EXPECT_FALSE(sent[1].headers.contains("authorization"));      // the earlier token leaks nowhere
    EXPECT_EQ(sent[2].headers.value("authorization"), "Bearer "); // present but empty token
}

struct AnswerCase {
    const char* name;
    operator std::string_view() const { return name; } // how gtest prints the row
    int status;
    QByteArray body;
    std::optional<BridgeClientError> failure; // nothing: the children are read
};

// Only 200 to 299 succeed, and every endpoint expects a record. The error body's text wins over
// the phrase, which is the standard one for the status, not whatever the server wrote after it.
const AnswerCase kAnswers[] = {
    {"lastSuccess", 299, kChildren},
    {"noContent", 204, "", E::invalidResponse()},
    {"firstRedirect", 300, R"({"message":"pick one"})", E::server(300, std::nullopt, "pick one")},
    {"notFound", 404, kChildren, E::server(404, std::nullopt, "Not Found")},
    {"errorOverMessage", 401, R"({"error":"Token revoked","message":"lost","code":"revoked"})",
     E::server(401, "revoked", "Token revoked")},
    {"message", 500, R"({"message":"Try later"})", E::server(500, std::nullopt, "Try later")},
    {"errorNotText", 400, R"({"error":42,"code":"bad"})", E::server(400, std::nullopt, "Bad Request")},
    {"html", 502, "<html><body>upstream down</body></html>", E::server(502, std::nullopt, "Bad Gateway")},
    {"nullErrorGivesWay", 409, R"({"error":null,"message":"m","code":"c","detail":4})",
     E::server(409, "c", "m")},
    {"emptyErrorWins", 409, R"({"error":"","message":"M"})", E::server(409, std::nullopt, "")},
    {"errorBodyNoObject", 409, R"(["error"])", E::server(409, std::nullopt, "Conflict")},
    // The last status of each class that Qt has no name for: still the service's answer.
    {"unnamedClientStatus", 422, "{}", E::server(422, std::nullopt, "Unprocessable Content")},
    {"unnamedServerStatus", 599, "{}", E::server(599, std::nullopt, "Server Error")},
    {"unknownClass", 999, "{}", E::server(999, std::nullopt, "Unknown Status")},
    // What the wire records accept is theirs to say (WireTests); here only that a success answer
    // they refuse is an unreadable response.
    {"childWithoutName", 200, R"({"children":[{"id":"c1"}]})", E::invalidResponse()},
};

class AnswerTest : public BridgeAPITest, public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(AnswerTest, IsReadOrFailsWithTheServerOwnWords)
{
    server.answer(GetParam().status, GetParam().body);
    EXPECT_EQ(errorOf<BridgeClientError>(api.fetchChildren("tok")), GetParam().failure);
}

INSTANTIATE_TEST_SUITE_P(Answers, AnswerTest, ::testing::ValuesIn(kAnswers), test::RowName());

TEST_F(BridgeAPITest, RedirectsAreFollowedOnlyWithinTheServiceOrigin)
{
    const auto redirectTo = [](const QUrl& target) {
        return "HTTP/1.1 307 Temporary Redirect\r\nLocation: " + target.toEncoded() +
               "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
    };
    server.answerRaw(redirectTo(server.url("/moved/children")));
    server.answer(200, kChildren);
    EXPECT_EQ(test::resultOf(api.fetchChildren("secret")).children.size(), 2u);
    EXPECT_EQ(server.requests().at(1).target, "/moved/children");

    LoopbackServer elsewhere; // another port is another origin
    elsewhere.answer(200, kChildren);
    server.answerRaw(redirectTo(elsewhere.url("/collect")));
    EXPECT_EQ(errorOf<BridgeClientError>(api.fetchChildren("secret")),
              E::server(307, std::nullopt, "Temporary Redirect"));
    EXPECT_TRUE(elsewhere.requests().empty()); // the token went nowhere else
}

TEST_F(BridgeAPITest, OversizedBodiesAreRefusedWithoutBufferingThem)
{
    server.answer(200, kChildren);
    (void)test::resultOf(api.fetchChildren("t"));
    const QByteArray huge(8 * 1024 * 1024, ' ');
    server.answer(200, "{\"children\":[]" + huge + "}");
    EXPECT_EQ(errorOf<BridgeClientError>(api.fetchChildren("t")), E::invalidResponse());

    // Without a length the body runs until the connection closes.
    server.answerRaw("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n{\"children\":[]" + huge + "}");
    EXPECT_EQ(errorOf<BridgeClientError>(api.fetchChildren("t")), E::invalidResponse());
}

struct TokenCase {
    const char* name;
    operator std::string_view() const { return name; } // how gtest prints the row
    std::string token;
    bool usable;            // as a redeemed token
    bool headerSafe = true; // as a token sent back
};

// A token is sent back as a header value, so only visible ASCII of a sane length can be one.
const TokenCase kTokenCases[] = {
    {"visibleAsciiBounds", "!tok~en0", true},
    {"longest", std::string(4096, 'a'), true},
    {"empty", "", false},
    {"tooLong", std::string(4097, 'a'), false},
    {"space", "two words", false, false},
    {"nonAscii", "t\u00f6ken", false, false},
    {"headerInjection", "tok\r\nX-Injected: 1", false, false},
    {"nul", std::string("a\0b", 3), false, false},
    {"delete", "tok\x7f", false, false},
};

class TokenTest : public BridgeAPITest, public ::testing::WithParamInterface<TokenCase> {};

TEST_P(TokenTest, ARedeemedTokenMustBeUsableAsAHeaderAndAnUnsafeOneIsNeverSent)
{
    const TokenCase& c = GetParam();
    if (!c.headerSafe) {
        EXPECT_EQ(errorOf<BridgeClientError>(api.fetchChildren(c.token)), E::invalidResponse());
        EXPECT_TRUE(server.requests().empty());
    }
    server.answer(200,
                  QByteArray(kRedeem).replace("\"tok\"", QByteArray::fromStdString(json(c.token).dump())));
    const auto failure = errorOf<BridgeClientError>(api.redeem("CODE", "Mac"));
    EXPECT_EQ(failure, c.usable ? std::nullopt : std::optional(E::invalidResponse()));
}

INSTANTIATE_TEST_SUITE_P(Tokens, TokenTest, ::testing::ValuesIn(kTokenCases), test::RowName());

// Every launch asks for the children, so a service that stalls or trickles meets a process that
// has already talked to it; neither may hold the client, nor bring it down. A port nobody listens
// on fails at once, and not as a timeout.
TEST_F(BridgeAPITest, TransportFailuresArePlatformErrorsAndAStalledOrTricklingServiceTimesOut)
{
    const auto failureOf = [](BridgeAPI& client) {
        const auto failure = errorOf<PlatformError>(client.fetchChildren("t"));
        return failure ? std::string(failure->what()) : std::string("no failure");
    };
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
    BridgeAPI nobody(QUrl(QStringLiteral("http://127.0.0.1:%1").arg(closed.serverPort())), nam, 5s);
    closed.close();
    const std::string refused = failureOf(nobody);
    EXPECT_NE(refused, "no failure");
    EXPECT_NE(refused, "The request timed out.");
    // In words a parent can act on, with the system's reason for whoever helps them.
    EXPECT_EQ(
        refused.rfind("Quorva can't be reached. Check this computer's internet connection; Bridge tries "
                      "again in 30 minutes. (",
                      0),
        0u)
        << refused;

    BridgeAPI impatient(server.url(), nam, 1s, 3s);
    const auto timeoutOf = [&] { return failureOf(impatient); };
    server.answer(200, kChildren);
    EXPECT_EQ(test::resultOf(impatient.fetchChildren("t")).children.size(), 2u);

    server.neverAnswer();
    EXPECT_EQ(timeoutOf(), "The request timed out.");

    // A byte every 200 ms is never a second of silence, and takes 20 s to finish.
    const QByteArray body = R"({"children":[]})" + QByteArray(80, ' ');
    server.answerTrickling(
        "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body, 200ms);
    EXPECT_EQ(timeoutOf(), "The request timed out.");

    server.answer(200, kChildren);
    EXPECT_EQ(test::resultOf(impatient.fetchChildren("t")).children.size(), 2u);
}

} // namespace
