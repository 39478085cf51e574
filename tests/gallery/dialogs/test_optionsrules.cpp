#include "gallery/dialogs/optionsrules.h"

#include <gtest/gtest.h>

namespace tessaly {

namespace {

// Which controls each choice shows or greys is tested on the dialog itself,
// by clicks (test_tform6.cpp).

TEST(OptionsRules, CaptionNamesThePageAndTheFileCount)
{
    EXPECT_EQ(htmlOptionsCaption(QStringLiteral("/home/ann/web"), QStringLiteral("MyWeb.htm"), 12),
              QStringLiteral("HTML Options - /home/ann/web/MyWeb.htm - 12 Files"));
    EXPECT_EQ(htmlOptionsCaption(QStringLiteral("/"), QStringLiteral("a.htm"), 4),
              QStringLiteral("HTML Options - /a.htm - 4 Files"));
}

}  // namespace
}  // namespace tessaly
