// guidefetch's command line: which argument lists start a window, and with what.
#include <gtest/gtest.h>

#include <QDir>

#include "guidefetch/helpcommandline.h"

namespace guidefetch {
namespace {

TEST(ParseHelpCommandLine, ReadsTheFolderAndBothSwitches) {
  const struct {
    const char* name;
    QStringList arguments;
    const char* folder;
    const char* code;
    const char* product;
  } cases[] = {
      {"as the editor passes it",
       {"/opt/veltrimond/Common/Help", "/P", "T482615", "/K", "Veltrimond"},
       "/opt/veltrimond/Common/Help",
       "T482615",
       "Veltrimond"},
      {"joined values, lower-case switches and code",
       {"/opt/help", "/pt482615", "/kVeltrimond"},
       "/opt/help",
       "T482615",
       "Veltrimond"},
      {"one argument per switch with a blank",
       {"/P T482615", "/K  Veltrimond Pro ", "/opt/help"},
       "/opt/help",
       "T482615",
       "Veltrimond Pro"},
      {"other switches ignored with their values",
       {"/opt/help", "/X", "ignored", "/P", "T1", "/Q", "x", "/K", "V"},
       "/opt/help",
       "T1",
       "V"},
      {"a later switch wins",
       {"/opt/help", "/P", "A1", "/P", "B2", "/K", "V"},
       "/opt/help",
       "B2",
       "V"},
      {"folder path cleaned", {"/opt//help/./", "/P", "T1", "/K", "V"}, "/opt/help", "T1", "V"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto line = ParseHelpCommandLine(c.arguments);
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(line->helpFolder, QString::fromUtf8(c.folder));
    EXPECT_EQ(line->productCode, QString::fromUtf8(c.code));
    EXPECT_EQ(line->productName, QString::fromUtf8(c.product));
  }
  const auto relative = ParseHelpCommandLine({"help", "/P", "T1", "/K", "V"});
  ASSERT_TRUE(relative.has_value());
  EXPECT_EQ(relative->helpFolder, QDir::current().absoluteFilePath(QStringLiteral("help")));
}

TEST(ParseHelpCommandLine, StartsNothingWithoutAllThreeOrWithAnUnsafeCode) {
  const struct {
    const char* name;
    QStringList arguments;
  } cases[] = {
      {"nothing", {}},
      {"no /K", {"/opt/help", "/P", "T482615"}},
      {"no /P", {"/opt/help", "/K", "Veltrimond"}},
      {"no folder", {"/P", "T482615", "/K", "Veltrimond"}},
      {"/K without value", {"/opt/help", "/P", "T1", "/K"}},
      {"code leaving its folder", {"/opt/help", "/P", "../T1", "/K", "V"}},
      {"code with a query", {"/opt/help", "/P", "T1?x", "/K", "V"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(ParseHelpCommandLine(c.arguments).has_value());
  }
}

}  // namespace
}  // namespace guidefetch
