// Where requests may go, and how listing names become URL paths.
#include <gtest/gtest.h>

#include "webupdate/serverurl.h"

namespace webupdate {
namespace {

TEST(CheckServerUrl, HttpsEverywherePlainHttpOnlyOnLoopback) {
  const struct {
    const char* url;
    bool allowed;
  } cases[] = {
      {"https://updates.example/", true},
      {"http://127.0.0.1:8080/", true},
      {"http://localhost/", true},
      {"http://[::1]:80/", true},
      {"http://updates.example/", false},
      {"ftp://updates.example/", false},
      {"https://user@updates.example/", false},
      {"https://x.example/?a=b", false},
      {"not a url", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.url);
    EXPECT_EQ(CheckServerUrl(QUrl(QString::fromUtf8(c.url))).isEmpty(), c.allowed);
  }
}

TEST(ServerPath, EncodesEachPartSoNamesCannotAddQueriesOrSteps) {
  const QUrl base(QStringLiteral("https://updates.example/base"));
  EXPECT_EQ(ServerPath(base, QStringLiteral("Common/Updates/T1/V0102/Updates.txt")).toString(),
            QStringLiteral("https://updates.example/base/Common/Updates/T1/V0102/Updates.txt"));
  EXPECT_EQ(ServerPath(base, QStringLiteral("Docs/T1/a b?c#d%.htm")).toString(QUrl::FullyEncoded),
            QStringLiteral("https://updates.example/base/Docs/T1/a%20b%3Fc%23d%25.htm"));
}

TEST(UpdateServerUrl, EnvironmentThenSettingThenBuildDefault) {
  qputenv("VELTRIMOND_UPDATE_URL", "");
  EXPECT_EQ(UpdateServerUrl(QStringLiteral("https://set.example/u")).toString(),
            QStringLiteral("https://set.example/u/"));
  EXPECT_EQ(UpdateServerUrl().scheme(), QStringLiteral("https"));
  qputenv("VELTRIMOND_UPDATE_URL", "http://127.0.0.1:9/");
  EXPECT_EQ(UpdateServerUrl(QStringLiteral("https://set.example/")).toString(),
            QStringLiteral("http://127.0.0.1:9/"));
  qunsetenv("VELTRIMOND_UPDATE_URL");
}

}  // namespace
}  // namespace webupdate
