#include "demo-portal/InfoPages.h"

#include "demo-portal/HtmlText.h"
#include "demo-portal/PageLayout.h"

namespace tivora::demo {

std::string InfoPages::checkPage(std::string_view latestVersion) {
    const std::string code =
        std::string{latestVersion.substr(0, 1)} + std::string{latestVersion.substr(2, 1)};
    // Plain on purpose: the client searches this text for its markers, so nothing else on the
    // page (no style sheet, no script) may contain them by accident.
    const std::string marker = code == "10" ? "<p>版本标记：v10</p>\n" : "";
    return fill(R"(<!DOCTYPE html>
<html lang="zh-CN">
<head><meta charset="utf-8"><title>Tivora 服务检查</title></head>
<body style="margin:4px 8px;font-size:12px;line-height:1.2;color:#1b2a3f;background:#fff">
<p>服务状态：qor</p>
<p>最新版本：{0}</p>
{1}<p>qor13={2}</p>
</body>
</html>
)",
                {escapeHtml(latestVersion), marker, code});
}

std::string InfoPages::companionPage() {
    return PageLayout::document(
        "Tivora 公告", PageLayout::portalStyle, "",
        R"(<div class="card"><div class="cardhead">Tivora 公告<span>最新</span></div><ul>)"
        R"(<li>本周新片：<b>赛博长安</b></li><li>新上线：<b>春天的信</b></li>)"
        R"(<li>电视直播新增四个频道</li><li>按 F1 查看使用帮助</li></ul></div>)");
}

std::string InfoPages::errorPage(int status) {
    std::string_view heading = "出了点问题";
    std::string_view detail = "服务器暂时无法完成这个请求，请稍后再试。";
    switch (status) {
        case 400:
            heading = "请求无效";
            detail = "请求的内容不正确或太长，搜索词请不要超过 100 个字。";
            break;
        case 404:
            heading = "页面不存在";
            detail = "您要找的影片或页面不存在，可能已经下架或地址有误。";
            break;
        case 405:
            heading = "不支持的请求方式";
            detail = "这个页面只能直接打开浏览。";
            break;
        case 408:
            heading = "请求超时";
            detail = "请求没有在限定时间内送达，请检查网络后重试。";
            break;
        case 413:
            heading = "提交的内容过大";
            detail = "请求附带的内容超过了服务器允许的大小。";
            break;
        case 414:
            heading = "地址过长";
            detail = "请求的地址超过了服务器允许的长度。";
            break;
        case 503:
            heading = "服务器繁忙";
            detail = "同时访问的人太多，请稍后再试。";
            break;
        default:
            break;
    }
    const std::string body =
        fill(R"(<div class="oops"><div class="code">{0}</div><h1>{1}</h1><p>{2}</p>)"
             R"(<a class="back" href="/ty_00.html">返回片库</a></div>)",
             {std::to_string(status), heading, detail});
    return PageLayout::document(std::string(heading), PageLayout::portalStyle, "", body);
}

}  // namespace tivora::demo
