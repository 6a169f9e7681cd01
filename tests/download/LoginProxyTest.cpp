#include "HTTPTestKit.h"
#include "support/LoopbackProxy.h"

#include <gmock/gmock.h>

using namespace quorvex;
using namespace quorvex::test_support;
using testing::ElementsAre;

namespace {

FileServerOptions WithLogin() {
    FileServerOptions options;
    options.Content = std::make_shared<const std::string>(Pattern(3000));
    options.Realm = "Quorvex Downloads";
    options.Login = "ann:secret";
    return options;
}

// Sends every request through the proxy at port (no bypass list).
void UseProxy(TupCustomHTTP& http, uint16_t port) {
    http.Proxy.AccessType = TupHTTPAccessType::atUseProxy;
    http.Proxy.ProxyServer = "127.0.0.1";
    http.Proxy.ProxyPort = port;
    http.Proxy.ProxyBypass = "";
}

} // namespace

using TransferLogin = HTTPTest;

TEST_F(TransferLogin, RealmIsAskedUntilTheLoginIsRightThenTheSameRequestIsRepeated) {
    FileServer server(WithLogin());
    std::vector<std::string> realms;
    http_.OnAuthorizationRequest = [&](TComponent*, const std::string& realm, bool& tryAgain) {
        realms.push_back(realm);
        http_.HTTPUsername = "ann";
        http_.HTTPPassword = realms.size() == 1 ? "wrong" : "secret";
        tryAgain = true;
    };
    Fetch(server.FileUrl());
    EXPECT_THAT(realms, ElementsAre("Quorvex Downloads", "Quorvex Downloads"));
    EXPECT_THAT(log_.Outcomes(), ElementsAre("OnTransferComplete size=3000 memory"));
    ASSERT_EQ(server.Requests().size(), 3u);
    EXPECT_EQ(server.Requests()[2].Headers.Value("Authorization"),
              BasicAuthorization("ann:secret"));
}

TEST_F(TransferLogin, GivingUpOrNoHandlerReportsTheStatus) {
    FileServer server(WithLogin());
    Fetch(server.FileUrl());
    int asked = 0;
    http_.OnAuthorizationRequest = [&](TComponent*, const std::string&, bool&) { ++asked; };
    http_.Fetch(true);
    EXPECT_EQ(asked, 1);
    EXPECT_THAT(log_.Outcomes(), ElementsAre("OnHTTPStatusError status=401", "OnTransferFailed",
                                             "OnHTTPStatusError status=401", "OnTransferFailed"));
    EXPECT_EQ(log_.Body(), "login required");
}

TEST_F(TransferLogin, CredentialsInTheURLComeFirst) {
    FileServer server(WithLogin());
    http_.HTTPUsername = "bob";
    http_.HTTPPassword = "nope";
    Fetch("http://ann:secret@" + server.Host() + "/file.bin");
    EXPECT_THAT(log_.Outcomes(), ElementsAre("OnTransferComplete size=3000 memory"));
}

using TransferProxy = HTTPTest;

TEST_F(TransferProxy, NamedProxyCarriesTheRequestsOfHostsItsBypassListDoesNotName) {
    FileServer origin(WithLogin());
    LoopbackProxy proxy;
    UseProxy(http_, proxy.Port());
    Fetch("http://ann:secret@" + origin.Host() + "/file.bin");
    ASSERT_EQ(proxy.Requests().size(), 1u);
    EXPECT_EQ(proxy.Requests()[0].Target, origin.FileUrl());
    // The default list names 127.0.0.1; wildcards name domains and networks.
    for (const char* bypass : {kDefaultProxyBypass, "*.example.org;127.0.*"}) {
        http_.Proxy.ProxyBypass = bypass;
        http_.Fetch(true);
    }
    EXPECT_EQ(proxy.Requests().size(), 1u);
    http_.Proxy.ProxyBypass = "10.*; *.example.org"; // neither covers 127.0.0.1
    http_.Fetch(true);
    EXPECT_EQ(proxy.Requests().size(), 2u);
    EXPECT_EQ(origin.Requests().size(), 4u);
    EXPECT_EQ(log_.Count("OnTransferComplete"), 4);
}

TEST_F(TransferProxy, ProxyLoginIsAskedAndTheRequestRepeated) {
    FileServer origin(WithLogin());
    LoopbackProxy proxy("pat:proxypass");
    int asked = 0;
    http_.OnProxyAuthenticationRequest = [&](TComponent*, std::string& user, std::string& password,
                                             bool& tryAgain) {
        ++asked;
        user = "pat";
        password = "proxypass";
        tryAgain = true;
    };
    UseProxy(http_, proxy.Port());
    Fetch("http://ann:secret@" + origin.Host() + "/file.bin");
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(http_.Proxy.ProxyUsername, "pat");
    EXPECT_THAT(log_.Outcomes(), ElementsAre("OnTransferComplete size=3000 memory"));
    ASSERT_EQ(proxy.Requests().size(), 2u);
    EXPECT_EQ(proxy.Requests()[1].Headers.Value("Proxy-Authorization"),
              BasicAuthorization("pat:proxypass"));
}

TEST_F(TransferProxy, EnvironmentProxyIsUsedOnlyWhenPreconfigured) {
    FileServer origin(WithLogin());
    LoopbackProxy proxy;
    setenv("http_proxy", ("http://127.0.0.1:" + std::to_string(proxy.Port())).c_str(), 1);
    http_.URL = "http://ann:secret@" + origin.Host() + "/file.bin";
    http_.Fetch(true); // atPreconfig: through the proxy the environment names
    http_.Proxy.AccessType = TupHTTPAccessType::atDirect;
    http_.Fetch(true);
    unsetenv("http_proxy");
    EXPECT_EQ(proxy.Requests().size(), 1u);
    EXPECT_EQ(origin.Requests().size(), 2u);
    EXPECT_EQ(log_.Count("OnTransferComplete"), 2);
}

TEST(StoredLogin, RoundTripsAndIsScrambled) {
    const std::string stored = EncodeLogin("ann", "secret");
    ASSERT_EQ(stored.size(), 1u + 1 + 3 + 6);
    EXPECT_EQ(static_cast<unsigned char>(stored[0]), 10);
    EXPECT_EQ(stored.find("ann"), std::string::npos);
    EXPECT_EQ(stored.find("secret"), std::string::npos);
    std::string user, password;
    ASSERT_TRUE(DecodeLogin(stored, user, password));
    EXPECT_EQ(user, "ann");
    EXPECT_EQ(password, "secret");
    // Each byte after the first is XORed with N ^ K.
    EXPECT_EQ(static_cast<unsigned char>(stored[1]), 3 ^ 10 ^ kLoginScramble);
}

TEST(StoredLogin, EmptyLoginIsNotStoredAndBadBytesAreRefused) {
    TupLoginComponent component;
    EXPECT_EQ(component.WriteLogin(), "");
    component.HTTPPassword = "only";
    TupLoginComponent copy;
    copy.ReadLogin(component.WriteLogin());
    EXPECT_EQ(copy.HTTPUsername, "");
    EXPECT_EQ(copy.HTTPPassword, "only");
    std::string user = "keep", password = "keep";
    EXPECT_FALSE(DecodeLogin("", user, password));
    EXPECT_FALSE(DecodeLogin(std::string("\x05\x01", 2), user, password)); // too short
    const std::string badLength =
        std::string(1, '\x02') + static_cast<char>(9 ^ 2 ^ kLoginScramble) + "x";
    EXPECT_FALSE(DecodeLogin(badLength, user, password));
    EXPECT_EQ(user, "keep");
}

TEST(StoredLogin, LoginTooLongForOneLengthByteIsRefused) {
    EXPECT_NO_THROW(EncodeLogin(std::string(100, 'u'), std::string(154, 'p')));
    EXPECT_THROW(EncodeLogin(std::string(100, 'u'), std::string(155, 'p')), Exception);
}
