#include "translate/WebRequest.h"

#include <gtest/gtest.h>

using namespace quorvex;

TEST(BuildRequestHead, WritesNonEmptyHeadersInTheirOrder) {
    TWebRequest request;
    request.Host = "h";
    request.Referer = "r";
    request.AcceptLanguage = "zh";
    request.ContentLength = 0;
    EXPECT_EQ(BuildRequestHead("GET", "/t", "1.1", request),
              "GET /t HTTP/1.1\r\nContent-Type: text/html\r\nContent-Length: 0\r\nHost: h\r\n"
              "Accept: text/html, */*\r\nAccept-Language: zh\r\nReferer: r\r\n"
              "User-Agent: Mozilla/3.0 (compatible; Quorvex)\r\n\r\n");
}

TEST(BuildRequestHead, FoldsHeaderLinesLongerThan1024Characters) {
    TWebRequest request;
    request.ContentType.clear();
    request.Accept.clear();
    request.UserAgent.clear();
    request.Referer = std::string(1000, 'a') + " " + std::string(1000, 'b') + " c";
    std::string head = BuildRequestHead("GET", "/", "1.1", request);
    EXPECT_EQ(head, "GET / HTTP/1.1\r\nReferer: " + std::string(1000, 'a') + "\r\n " +
                        std::string(1000, 'b') + " c\r\n\r\n");

    request.Referer = std::string(2000, 'x'); // nowhere to fold
    EXPECT_EQ(BuildRequestHead("GET", "/", "1.1", request),
              "GET / HTTP/1.1\r\nReferer: " + request.Referer + "\r\n\r\n");
}
