// The page as a browser reads it: Debian's Chromium, headless, opens _fonts.html, and every link
// it finds there leads to a file of the folder.
#include "CliProcess.h"
#include "HeadlessChromium.h"

#include "support/TempDir.h"
#include "support/TrueTypeWriter.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <regex>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using testsupport::TempDir;

// Serves one page once on a port of the loopback address, as a plain web server does: as
// "text/html", without a character set, so that only the page itself can tell it.
class OnePageServer {
public:
    explicit OnePageServer(std::string page) : page_(std::move(page)) {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            ::listen(listener_, 1) != 0 ||
            ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            return;
        }
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { serveOnce(); });
    }
    ~OnePageServer() {
        ::shutdown(listener_, SHUT_RDWR);
        if (thread_.joinable()) {
            thread_.join();
        }
        ::close(listener_);
    }
    OnePageServer(const OnePageServer&) = delete;
    OnePageServer& operator=(const OnePageServer&) = delete;

    int port() const { return port_; }

private:
    void serveOnce() {
        const int client = ::accept(listener_, nullptr, nullptr);
        if (client < 0) {
            return;
        }
        std::array<char, 4096> request{};
        (void)::recv(client, request.data(), request.size(), 0);
        const std::string response = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n"
                                     "Content-Length: " +
                                     std::to_string(page_.size()) + "\r\n\r\n" + page_;
        (void)::send(client, response.data(), response.size(), MSG_NOSIGNAL);
        ::close(client);
    }

    std::string page_;
    int listener_ = -1;
    int port_ = 0;
    std::thread thread_;
};

// Latin letters beyond ASCII in file names, as an old collection holds them: served without a
// character set and without the page telling its encoding, the page was read in a Latin code
// page, and the links led to names that do not exist.
TEST(HtmlPageInBrowser, EveryLinkOfTheDefaultPageLeadsToItsFile) {
    if (!chromium::startProblem().empty()) {
        GTEST_SKIP() << chromium::startProblem();
    }
    const TempDir dir;
    const std::vector<std::string> names = {"café.ttf", "naïve sans.ttf", "Ærøskøbing.ttf",
                                            "Ünïcödé.ttf", "plain.ttf"};
    for (const std::string& name : names) {
        dir.write(name, testsupport::trueTypeFontNamed(u"Fa\u00e7ade"));
    }
    ASSERT_EQ(clitest::runCli({"html", dir.str()}).status, 0);

    const OnePageServer server(testsupport::readFile(dir.file("_fonts.html")));
    ASSERT_NE(server.port(), 0) << "no port on the loopback address";
    const std::string dom =
        chromium::dom("http://127.0.0.1:" + std::to_string(server.port()) + "/_fonts.html");
    const std::regex link("<a href=\"([^\"]*)\">", std::regex::icase);
    std::size_t links = 0;
    for (auto it = std::sregex_iterator(dom.begin(), dom.end(), link); it != std::sregex_iterator();
         ++it, ++links) {
        const std::string target = chromium::decodedPercents((*it)[1].str());
        EXPECT_TRUE(fs::exists(testsupport::pathFromUtf8(target)))
            << "the link leads to " << target << ", which is no file";
    }
    EXPECT_EQ(links, names.size()) << dom;
}

} // namespace
