#include "platform/tcp_client.h"

#include "tests/alert/scripted_smtp_server.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

using testing::ScriptedSmtpServer;
using Lines = std::vector<std::string>;

TEST(TcpConnection, WritingToAPeerThatHasGoneFailsWithoutEndingTheProcess)
{
    ScriptedSmtpServer server({Lines{ScriptedSmtpServer::hang_up}});
    std::unique_ptr<TcpConnection> connection = TcpConnection::open("127.0.0.1", server.port(), 1000);
    ASSERT_TRUE(connection);
    ASSERT_TRUE(server.wait_closed(0));
    bool failed = false;
    // The first write after the peer's close may still be taken; a later one meets the reset.
    for (int i = 0; i < 100 && !failed; ++i)
        failed = !connection->write_all("NOOP\r\n", 1000);
    EXPECT_TRUE(failed);
}

TEST(TcpConnection, ReadsWhatArrivesAndReportsTheClose)
{
    ScriptedSmtpServer server({Lines{"220 hello", ScriptedSmtpServer::hang_up}});
    std::unique_ptr<TcpConnection> connection = TcpConnection::open("localhost", server.port(), 1000);
    ASSERT_TRUE(connection);
    std::string received;
    while (received.size() < 11)
        ASSERT_EQ(connection->read_some(received, 1000), TcpConnection::ReadResult::data);
    EXPECT_EQ(received, "220 hello\r\n");
    EXPECT_EQ(connection->read_some(received, 50), TcpConnection::ReadResult::timed_out);
    ASSERT_TRUE(connection->write_all("QUIT\r\n", 1000));
    EXPECT_EQ(connection->read_some(received, 1000), TcpConnection::ReadResult::closed);
}

TEST(TcpConnection, RefusesBadPortsAndClosedPorts)
{
    int closed_port;
    {
        ScriptedSmtpServer gone({});
        closed_port = gone.port();
    }
    for (int port : {0, -1, 65536, closed_port})
        EXPECT_FALSE(TcpConnection::open("127.0.0.1", port, 1000)) << port;
}

}
}
