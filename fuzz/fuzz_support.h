#pragma once

#include <QLocale>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A property that does not hold is a finding: report it and let libFuzzer keep the input.
#define FUZZ_CHECK(cond)                                                                                     \
    do {                                                                                                     \
        if (!(cond)) {                                                                                       \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #cond);                 \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (0)

// Reads the input front to back; past its end every read gives zeros.
class FuzzInput {
  public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    uint16_t u16() { return static_cast<uint16_t>(byte() | byte() << 8); }
    bool empty() const { return pos_ >= size_; }
    // The rest of the input as Latin-1 text (each byte one character).
    QString rest_latin1() {
        const auto* p = reinterpret_cast<const char*>(data_ + pos_);
        const qsizetype n = static_cast<qsizetype>(size_ - pos_);
        pos_ = size_;
        return QString::fromLatin1(p, n);
    }
    QByteArray rest_bytes() {
        QByteArray out(reinterpret_cast<const char*>(data_ + pos_), static_cast<qsizetype>(size_ - pos_));
        pos_ = size_;
        return out;
    }
    // Up to max bytes as UTF-8 text, stopping early at a zero byte.
    QString text(size_t max) {
        QByteArray b;
        while (!empty() && static_cast<size_t>(b.size()) < max) {
            const uint8_t c = byte();
            if (c == 0)
                break;
            b += static_cast<char>(c);
        }
        return QString::fromUtf8(b);
    }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

// Locales whose number and date forms differ in the ways that have broken readers before: month
// or day first, dots and final dots, direction marks, a blank between fields, comma decimals.
inline QLocale fuzz_locale(uint8_t pick) {
    static const QLocale locales[] = {
        QLocale::c(),
        QLocale(QLocale::English, QLocale::UnitedStates),
        QLocale(QLocale::English, QLocale::UnitedKingdom),
        QLocale(QLocale::German, QLocale::Germany),
        QLocale(QLocale::Korean, QLocale::SouthKorea),
        QLocale(QLocale::Hungarian, QLocale::Hungary),
        QLocale(QLocale::Croatian, QLocale::Croatia),
        QLocale(QLocale::Arabic, QLocale::Egypt),
        QLocale(QLocale::Arabic, QLocale::Algeria),
        QLocale(QStringLiteral("kkj_CM")),
        QLocale(QLocale::Persian, QLocale::Iran),
        QLocale(QLocale::Hebrew, QLocale::Israel),
        QLocale(QLocale::Chinese, QLocale::China),
        QLocale(QLocale::French, QLocale::Switzerland),
        QLocale(QLocale::Serbian, QLocale::CyrillicScript, QLocale::Serbia),
        QLocale(QLocale::Japanese, QLocale::Japan),
    };
    return locales[pick % (sizeof(locales) / sizeof(locales[0]))];
}
