#include "demo-portal/PageLayout.h"

#include "demo-portal/HtmlText.h"

namespace tivora::demo {

std::string PageLayout::document(std::string_view title, std::string_view styleSheet,
                                 std::string_view bodyClass, std::string_view body,
                                 std::string_view head) {
    return fill(R"(<!DOCTYPE html>
<html lang="zh-CN">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>{0}</title>
<link rel="stylesheet" href="{1}">
{2}</head>
<body class="{3}">
{4}
</body>
</html>
)",
                {escapeHtml(title), styleSheet, head, bodyClass, body});
}

}  // namespace tivora::demo
