#include "tests/models/model_reference.h"

#include "platform/host/metatree/metatree_api.h"
#include "platform/host/metatree/metatree_error.h"

#include <regex>
#include <sstream>
#include <utility>

namespace modelref {
namespace {

IMetaTreeApi& store() {
    return *getIMetaTreeApi();
}

const std::regex& upperWord() {
    static const std::regex word(R"([A-Z][A-Z0-9_]+)");
    return word;
}

std::string stringValue(metaTreePtrT node) {
    return store().getString(store().firstChild(node)).value_or(std::string());
}

// The backticked words of a text.
std::vector<std::string> quoted(const std::string& text) {
    static const std::regex span("`([^`]+)`");
    std::vector<std::string> words;
    for (std::sregex_iterator it(text.begin(), text.end(), span), end; it != end; ++it)
        words.push_back((*it)[1]);
    return words;
}

// Releases a parsed tree at the end of a scope.
class parsedTreeC {
public:
    explicit parsedTreeC(metaTreePtrT root) : root_(root) {}
    parsedTreeC(const parsedTreeC&) = delete;
    parsedTreeC& operator=(const parsedTreeC&) = delete;
    ~parsedTreeC() { store().release(root_); }

private:
    metaTreePtrT root_;
};

} // namespace

modelReferenceC::modelReferenceC(std::string_view markdown) : text_(markdown) {
    std::istringstream in(text_);
    std::string line;
    int number = 0;
    sectionS* current = nullptr;
    exampleS* example = nullptr;
    bool otherFence = false;
    static const std::regex keyRow(R"(^\| `([A-Z][A-Z0-9_]*)` \|)");
    while (std::getline(in, line)) {
        ++number;
        if (example != nullptr || otherFence) {
            if (line.rfind("```", 0) == 0) {
                example = nullptr;
                otherFence = false;
            } else if (example != nullptr) {
                example->text += line + "\n";
            }
            continue;
        }
        if (line.rfind("## ", 0) == 0 || line.rfind("### ", 0) == 0) {
            current = nullptr;
            if (line.rfind("### ", 0) == 0) {
                sectionS& made = sections_.emplace_back();
                made.line = number;
                for (std::sregex_iterator it(line.begin(), line.end(), upperWord()), end; it != end;
                     ++it)
                    made.items.push_back(it->str());
                current = &made;
            }
            continue;
        }
        if (line.rfind("```", 0) == 0) {
            const std::string info = line.substr(3);
            if (current != nullptr && (info == "meta" || info == "meta part")) {
                example = &current->examples.emplace_back();
                example->line = number;
                example->joinsPart = info == "meta part";
            } else {
                otherFence = true;
            }
            continue;
        }
        if (current == nullptr)
            continue;
        current->text += line + "\n";
        std::smatch key;
        if (std::regex_search(line, key, keyRow))
            current->keys.insert(key[1]);
    }
}

const sectionS* modelReferenceC::section(const std::string& item) const {
    for (const sectionS& s : sections_)
        for (const std::string& described : s.items)
            if (described == item)
                return &s;
    return nullptr;
}

bool modelReferenceC::mentions(const std::string& word) const {
    const std::regex whole("(^|[^A-Za-z0-9_])" + word + "([^A-Za-z0-9_]|$)");
    return std::regex_search(text_, whole);
}

std::vector<std::string> modelReferenceC::undocumented(metaTreePtrT root,
                                                       const std::string& where) const {
    IMetaTreeApi& api = store();
    std::vector<std::string> found;
    std::set<std::string> said;
    auto say = [&](const std::string& text) {
        if (said.insert(text).second)
            found.push_back(where + ": " + text);
    };
    auto describedNowhere = [&](const std::string& tag) {
        if (section(tag) == nullptr)
            say(tag + " is described nowhere");
    };
    if (!api.isKeyNode(root)) {
        say("not an item");
        return found;
    }
    describedNowhere(api.tag(root));

    std::vector<metaTreePtrT> pending{root};
    while (!pending.empty()) {
        const metaTreePtrT node = pending.back();
        pending.pop_back();
        const std::string tag = api.tag(node);
        const sectionS* own = section(tag);
        for (metaTreePtrT child = api.firstChild(node); child; child = api.nextSibling(child)) {
            if (!api.isKeyNode(child))
                continue;
            const std::string key = api.tag(child);
            describedNowhere(tag);
            if (own != nullptr && own->keys.count(key) == 0)
                say(tag + " lists no key " + key);
            const std::string value = stringValue(child);
            if (own != nullptr && key == "TYP" && !value.empty() &&
                own->text.find('"' + value + '"') == std::string::npos)
                say(tag + " names no TYP \"" + value + "\"");
            if (tag == "CREAOPTSET" && key == "NAME" && own != nullptr) {
                bool listed = false;
                for (const std::string& word : quoted(own->text))
                    listed = listed || word == value ||
                             (word.back() == '_' && value.rfind(word, 0) == 0);
                if (!listed)
                    say("CREAOPTSET lists no setting " + value);
            }
            if (value.find_first_not_of(" \t\r\n") != std::string::npos &&
                value[value.find_first_not_of(" \t\r\n")] == '(') {
                try {
                    const metaTreePtrT text = api.parseText(value, key);
                    const parsedTreeC held(text);
                    for (const std::string& inner : undocumented(text, where + " " + key))
                        if (said.insert(inner).second)
                            found.push_back(inner);
                } catch (const metaTreeErrorC& error) {
                    say(key + " holds text that does not parse: " + error.what());
                }
            }
            pending.push_back(child);
        }
    }
    return found;
}

std::set<std::string> wordsReadBy(std::string_view source) {
    // The source without its comments; string and character literals kept as they are.
    std::string code;
    for (std::size_t i = 0; i < source.size(); ++i) {
        const char c = source[i];
        if (c == '/' && i + 1 < source.size() && source[i + 1] == '/') {
            i = source.find('\n', i);
            if (i == std::string_view::npos)
                break;
            code += '\n';
        } else if (c == '/' && i + 1 < source.size() && source[i + 1] == '*') {
            i = source.find("*/", i + 2);
            if (i == std::string_view::npos)
                break;
            ++i;
            code += ' ';
        } else if (c == '"' || c == '\'') {
            code += c;
            for (++i; i < source.size() && source[i] != c; ++i) {
                code += source[i];
                if (source[i] == '\\' && i + 1 < source.size())
                    code += source[++i];
            }
            code += c;
        } else {
            code += c;
        }
    }
    std::set<std::string> words;
    static const std::regex literal(R"re("([A-Z][A-Z0-9_]+)")re");
    for (std::sregex_iterator it(code.begin(), code.end(), literal), end; it != end; ++it)
        words.insert((*it)[1]);
    static const std::regex option(
        R"re((?:documentCreationSetting|creationOptionInt|getSetting)\s*\([^;"]*"([A-Za-z_]+)")re");
    for (std::sregex_iterator it(code.begin(), code.end(), option), end; it != end; ++it)
        words.insert((*it)[1]);
    return words;
}

} // namespace modelref
