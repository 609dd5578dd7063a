#include "HtmlHelpWriter.h"

#include <algorithm>
#include <cctype>

namespace hlpc {

namespace {

// Text and attribute values both: quotes are escaped too, so one function serves both.
std::string escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string lower(std::string s) {
    for (char& c : s) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return s;
}

// The source is printable ASCII, so UTF-8 is exact; the viewer reads the charset from the
// meta element (old viewers do not know the short <meta charset> form).
std::string page(const HelpSource& source, const Topic& topic) {
    std::string html = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n"
                       "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n"
                       "<title>" +
                       escape(topic.title) +
                       "</title>\n<style>\n"
                       "body { font-family: Tahoma, Verdana, sans-serif; font-size: 10pt;"
                       " margin: 12px 16px; }\n"
                       "h1 { font-size: 14pt; }\nh2 { font-size: 11pt; margin-top: 1.4em; }\n"
                       "</style>\n</head>\n<body>\n<h1>" +
                       escape(topic.title) + "</h1>\n";
    bool inList = false;
    for (const Paragraph& p : topic.paragraphs) {
        const bool bullet = p.kind == Paragraph::Kind::Bullet;
        if (bullet != inList) {
            html += bullet ? "<ul>\n" : "</ul>\n";
            inList = bullet;
        }
        std::string text = escape(p.text);
        if (!p.jumpTo.empty()) {
            const auto target =
                std::find_if(source.topics.begin(), source.topics.end(),
                             [&](const Topic& t) { return t.contextName() == p.jumpTo; });
            if (target != source.topics.end()) {
                text = "<a href=\"" + pageName(*target) + "\">" + text + "</a>";
            }
        }
        switch (p.kind) {
        case Paragraph::Kind::Bullet:
            html += "<li>" + text + "</li>\n";
            break;
        case Paragraph::Kind::Subheading:
            html += "<h2>" + text + "</h2>\n";
            break;
        case Paragraph::Kind::Text:
            html += "<p>" + text + "</p>\n";
            break;
        }
    }
    if (inList) {
        html += "</ul>\n";
    }
    return html + "</body>\n</html>\n";
}

struct Entry {
    std::string name;
    std::string page;
};

// The sitemap format that contents (.hhc) and index (.hhk) files share.
std::string sitemap(const std::vector<Entry>& entries) {
    std::string text = "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">\n<html>\n<head>\n"
                       "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n"
                       "</head>\n<body>\n<ul>\n";
    for (const Entry& e : entries) {
        text += "<li><object type=\"text/sitemap\">\n<param name=\"Name\" value=\"" +
                escape(e.name) + "\">\n<param name=\"Local\" value=\"" + e.page +
                "\">\n</object>\n";
    }
    return text + "</ul>\n</body>\n</html>\n";
}

std::string project(const HelpSource& source, const std::string& base) {
    // The window definition is quoted without escapes: a quote in the title would end it.
    std::string caption = source.title;
    std::replace(caption.begin(), caption.end(), '"', '\'');
    const std::string contents = pageName(source.topics.front());
    std::string text = "[OPTIONS]\n"
                       "Compatibility=1.1 or later\n"
                       "Compiled file=" +
                       base + ".chm\nContents file=" + base + ".hhc\nIndex file=" + base +
                       ".hhk\nDefault topic=" + contents +
                       "\nDefault Window=main\n"
                       "Display compile progress=No\n"
                       "Full-text search=Yes\n"
                       "Language=0x409 English (United States)\n"
                       "Title=" +
                       source.title + "\n\n[WINDOWS]\n";
    // Tri-pane window with a Search tab that follows the shown topic in the contents
    // (0x520), navigation pane 260 pixels wide, buttons Hide/Show, Back, Forward, Home, Print
    // and Options (0x304E).
    text += "main=\"" + caption + "\",\"" + base + ".hhc\",\"" + base + ".hhk\",\"" + contents +
            "\",\"" + contents + "\",,,,,0x520,260,0x304E,,,,,,,,0\n\n[FILES]\n";
    for (const Topic& t : source.topics) {
        text += pageName(t) + "\n";
    }
    // HH_HELP_CONTEXT finds a page by number: [MAP] gives each context name its number,
    // [ALIAS] the context name its page.
    text += "\n[ALIAS]\n";
    for (const Topic& t : source.topics) {
        if (!t.isContents()) {
            text += t.contextName() + "=" + pageName(t) + "\n";
        }
    }
    text += "\n[MAP]\n";
    for (const Topic& t : source.topics) {
        if (!t.isContents()) {
            text += "#define " + t.contextName() + " " + std::to_string(t.number) + "\n";
        }
    }
    return text;
}

} // namespace

std::string pageName(const Topic& topic) {
    return lower(topic.contextName()) + ".htm";
}

std::vector<ProjectFile> writeHtmlHelpProject(const HelpSource& source,
                                              const std::string& baseName) {
    std::vector<Entry> contents, index;
    for (const Topic& t : source.topics) {
        contents.push_back({t.title, pageName(t)});
        index.push_back({t.title, pageName(t)});
        for (const Paragraph& p : t.paragraphs) {
            if (p.kind == Paragraph::Kind::Subheading) {
                index.push_back({p.text, pageName(t)});
            }
        }
    }
    std::stable_sort(index.begin(), index.end(),
                     [](const Entry& a, const Entry& b) { return lower(a.name) < lower(b.name); });

    std::vector<ProjectFile> files{{baseName + ".hhp", project(source, baseName)},
                                   {baseName + ".hhc", sitemap(contents)},
                                   {baseName + ".hhk", sitemap(index)}};
    for (const Topic& t : source.topics) {
        files.push_back({pageName(t), page(source, t)});
    }
    return files;
}

} // namespace hlpc
