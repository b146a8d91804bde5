#include "launcher/language.h"

#include <cstddef>

namespace {

// ISO 639-1, and the three-letter codes of languages that Windows names its
// locales with where ISO 639-1 has none (Filipino, Hawaiian, the Sami
// languages, Konkani, Dari, Quechua, ...).
const char kTwoLetterCodes[] =
    "aaabaeafakamanarasavayazbabebgbhbibmbnbobrbscacechcocrcscucvcydadedvdzeeeleneoeseteu"
    "fafffifjfofrfygagdglgngugvhahehihohrhthuhyhziaidieigiiikioisitiujajvkakgkikjkkklkmkn"
    "kokrkskukvkwkylalblglilnloltlulvmgmhmimkmlmnmrmsmtmynanbndnengnlnnnonrnvnyocojomoros"
    "papiplpsptqurmrnrorurwsascsdsesgsiskslsmsnsosqsrssstsusvswtatetgthtitktltntotrtstttw"
    "tyugukuruzvevivowawoxhyiyozazhzu";
const char kThreeLetterCodes[] = "arnchrckbdsbfilgswhawhsbibbkokmnimohnsoprsqucqutquzsahsma"
                                 "smjsmnsmssyrtzmyuezgh";

char16_t Lower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
}

bool IsLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

bool IsSeparator(char16_t c) {
    return c == u'-' || c == u'_';
}

// Plain loops rather than the C library's string functions, which the
// program does not import otherwise.
bool Same(const char* a, const char* b, std::size_t most = 8) {
    for (std::size_t i = 0; i < most; ++i) {
        if (a[i] != b[i]) {
            return false;
        }
        if (a[i] == 0) {
            break;
        }
    }
    return true;
}

void Set(char* to, const char* text) {
    while ((*to++ = *text++) != 0) {
    }
}

// A tag taken apart, lower case: language, script and region; Chinese gets
// its script from its region where the tag has none.
struct Tag {
    char language[4];
    char script[5];
    char region[4];
};

// The subtag at `*at` if it is `count` letters (or digits), moving past it and
// its separator.
bool TakeSubtag(const char16_t** at, std::size_t count, bool digits, char* out) {
    const char16_t* p = *at;
    for (std::size_t i = 0; i < count; ++i) {
        if (digits ? !IsDigit(p[i]) : !IsLetter(p[i])) {
            return false;
        }
    }
    if (p[count] != 0 && (!IsSeparator(p[count]) || p[count + 1] == 0)) {
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        out[i] = static_cast<char>(Lower(p[i]));
    }
    out[count] = 0;
    *at = p + count + (p[count] != 0 ? 1 : 0);
    return true;
}

// False when `text` is not language[-script][-region]; with `lenient`, more
// subtags after those (variants, extensions) are ignored.
bool ParseTag(const char16_t* text, bool lenient, Tag* tag) {
    *tag = Tag();
    if (text == nullptr) {
        return false;
    }
    const char16_t* at = text;
    if (!TakeSubtag(&at, 2, false, tag->language) && !TakeSubtag(&at, 3, false, tag->language)) {
        return false;
    }
    TakeSubtag(&at, 4, false, tag->script);
    if (!TakeSubtag(&at, 2, false, tag->region)) {
        TakeSubtag(&at, 3, true, tag->region);
    }
    if (*at != 0 && !lenient) {
        return false;
    }
    if (Same(tag->language, "zh") && tag->script[0] == 0) {
        const char* r = tag->region;
        if (Same(r, "tw") || Same(r, "hk") || Same(r, "mo")) {
            Set(tag->script, "hant");
        } else if (!*r || Same(r, "cn") || Same(r, "sg")) {
            Set(tag->script, "hans");
        }
    }
    return true;
}

bool IsKnownLanguage(const char* code) {
    const char* table = code[2] == 0 ? kTwoLetterCodes : kThreeLetterCodes;
    std::size_t size = code[2] == 0 ? 2 : 3;
    for (const char* p = table; *p; p += size) {
        if (Same(p, code, size)) {
            return true;
        }
    }
    return false;
}

bool SameText(const char16_t* a, const char16_t* b) {
    for (; *a && *b; ++a, ++b) {
        bool same = Lower(*a) == Lower(*b) || (IsSeparator(*a) && IsSeparator(*b));
        if (!same) {
            return false;
        }
    }
    return *a == *b;
}

// Whether an offered tag serves `wanted` at one step of the fallback: the
// offered tag must be exactly that language, script and region.
bool Serves(const char16_t* offered, const Tag& wanted) {
    Tag tag;
    return ParseTag(offered, true, &tag) && Same(tag.language, wanted.language) &&
           Same(tag.script, wanted.script) && Same(tag.region, wanted.region);
}

} // namespace

int ChooseLanguage(const char16_t* const preferred[], int preferredCount,
                   const char16_t* const offered[], int offeredCount) {
    for (int p = 0; p < preferredCount; ++p) {
        if (preferred[p] == nullptr) {
            continue;
        }
        for (int o = 0; o < offeredCount; ++o) {
            if (offered[o] != nullptr && SameText(preferred[p], offered[o])) {
                return o;
            }
        }
        Tag steps[3];
        if (!ParseTag(preferred[p], true, &steps[0])) {
            continue;
        }
        // As given, without its region, then (but never for Chinese, whose
        // script is what matters) the language alone.
        steps[1] = steps[0];
        steps[1].region[0] = 0;
        steps[2] = steps[1];
        steps[2].script[0] = 0;
        int count = Same(steps[0].language, "zh") ? 2 : 3;
        for (int s = 0; s < count; ++s) {
            for (int o = 0; o < offeredCount; ++o) {
                if (offered[o] != nullptr && Serves(offered[o], steps[s])) {
                    return o;
                }
            }
        }
    }
    return -1;
}

bool IsLanguageTag(const char16_t* tag) {
    Tag parsed;
    return ParseTag(tag, false, &parsed) && IsKnownLanguage(parsed.language);
}
