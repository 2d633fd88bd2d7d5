// The text format of ROM managers: blocks of "key value" pairs in parentheses, where a value is
// a word, a quoted string or another block:
//   game ( name "Title (Europe)" rom ( name "Title (Europe).gba" size 4194304 crc 0a1b2c3d ) )
#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "dump_list.h"
#include "list_readers.h"

namespace quillet::verify {

namespace {

struct Token {
    enum Kind { kEnd, kOpen, kClose, kWord, kString } kind;
    std::string text;
    std::size_t line;
};

class Tokens {
  public:
    explicit Tokens(std::string_view text) : text_(text) {}

    Token next() {
        while (position_ < text_.size() &&
               std::string_view(" \t\r\n").find(text_[position_]) != std::string_view::npos) {
            line_ += text_[position_++] == '\n' ? 1 : 0;
        }
        if (position_ == text_.size()) {
            return {Token::kEnd, "", line_};
        }
        const char first = text_[position_];
        if (first == '(' || first == ')') {
            ++position_;
            return {first == '(' ? Token::kOpen : Token::kClose, std::string(1, first), line_};
        }
        if (first == '"') {
            const std::size_t end = text_.find_first_of("\"\n", position_ + 1);
            if (end == std::string_view::npos || text_[end] != '"') {
                throw SyntaxError{line_, "a quoted string does not end on its line"};
            }
            const std::string inQuotes(text_.substr(position_ + 1, end - position_ - 1));
            position_ = end + 1;
            return {Token::kString, inQuotes, line_};
        }
        const std::size_t end =
            std::min(text_.find_first_of(" \t\r\n()\"", position_), text_.size());
        const std::string word(text_.substr(position_, end - position_));
        position_ = end;
        return {Token::kWord, word, line_};
    }

  private:
    std::string_view text_;
    std::size_t position_ = 0;
    std::size_t line_ = 1;
};

// Reads the pairs of a block whose "(" has been read, up to its ")". Each pair's key and its
// value, a word or string, go to take; a block value goes to openBlock, which reads it.
template <typename Pair, typename Block>
void readBlock(Tokens& tokens, const Token& open, const Pair& take, const Block& openBlock) {
    for (Token key = tokens.next(); key.kind != Token::kClose; key = tokens.next()) {
        if (key.kind == Token::kEnd) {
            throw SyntaxError{open.line, "this '(' is never closed"};
        }
        if (key.kind != Token::kWord) {
            throw SyntaxError{key.line, "a key was expected, not " + quoted(key.text)};
        }
        const Token value = tokens.next();
        if (value.kind == Token::kOpen) {
            openBlock(key.text, value);
        } else if (value.kind == Token::kWord || value.kind == Token::kString) {
            take(key.text, value.text);
        } else {
            throw SyntaxError{key.line, quoted(key.text) + " has no value"};
        }
    }
}

// Blocks go no deeper than this in lists; a deeper one is taken for a fault rather than followed
// to the end of the stack.
constexpr int kMaxDepth = 32;

// Reads a block, depth blocks deep, and everything in it for nothing.
void skipBlock(Tokens& tokens, const Token& open, int depth) {
    if (depth > kMaxDepth) {
        throw SyntaxError{open.line, "blocks are nested too deeply"};
    }
    readBlock(
        tokens, open, [](const std::string&, const std::string&) {},
        [&tokens, depth](const std::string&, const Token& inner) {
            skipBlock(tokens, inner, depth + 1);
        });
}

}  // namespace

void readTextList(std::string_view text, const EntryHandler& take) {
    Tokens tokens(text);
    for (Token key = tokens.next(); key.kind != Token::kEnd; key = tokens.next()) {
        if (key.kind != Token::kWord) {
            throw SyntaxError{key.line, "a block's name was expected, not " + quoted(key.text)};
        }
        const Token open = tokens.next();
        if (open.kind != Token::kOpen) {
            throw SyntaxError{key.line, "'(' was expected after " + quoted(key.text)};
        }
        if (key.text != "game" && key.text != "machine" && key.text != "resource") {
            skipBlock(tokens, open, 1);
            continue;
        }
        // A game's name may come after its roms.
        std::string game;
        std::vector<SpeltEntry> entries;
        readBlock(
            tokens, open,
            [&game](const std::string& field, const std::string& value) {
                game = field == "name" ? value : game;
            },
            [&tokens, &entries](const std::string& field, const Token& inner) {
                if (field != "rom") {
                    return skipBlock(tokens, inner, 2);
                }
                entries.emplace_back();
                readBlock(
                    tokens, inner,
                    [&entries](const std::string& name, const std::string& value) {
                        entries.back().take(name, value);
                    },
                    [&tokens](const std::string&, const Token& nested) {
                        skipBlock(tokens, nested, 3);
                    });
            });
        for (SpeltEntry& entry : entries) {
            entry.game = game;
            take(std::move(entry));
        }
    }
}

}  // namespace quillet::verify
