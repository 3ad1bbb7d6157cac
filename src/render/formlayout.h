// The payment order form laid out on a device: the ruled frame, the 33 printed captions and
// the 45 texts of the order, each with its position in device pixels, font height and
// weight. The form is defined in whole millimetres from the top-left corner of an A4 sheet
// and converted with the device's pixels per millimetre; texts are measured on the device
// they are drawn on, through a TextMeasurer.
#pragma once

#include "fitting.h"
#include "measure.h"

#include "storage/budgetfields.h"
#include "storage/records.h"
#include "storage/words.h"

#include <QByteArray>
#include <QList>
#include <array>
#include <cstdint>

namespace render {

// What the layout needs to know of a device.
struct DeviceMetrics {
    long double pixelsPerMmX = 0; // horizontal pixels per millimetre
    long double pixelsPerMmY = 0; // vertical pixels per millimetre
    int offsetX = 0;              // physical offset of the printable area, pixels
    int offsetY = 0;
    bool screen = false; // the preview (2-space title gap, М.П. at 4 mm, 1 px pen)

    // From a resolution in pixels and a size in millimetres, as a monitor reports them.
    static DeviceMetrics fromSize(int widthPx, int heightPx, long double widthMm,
                                  long double heightMm, bool screen);
    // From dots per inch (a printer), with the offsets of its printable area.
    static DeviceMetrics fromDpi(long double dpiX, long double dpiY, int offsetX, int offsetY,
                                 bool screen);
};

struct Rule {
    int x = 0, y = 0, length = 0;
};

struct Box {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// Where a text stands: its top-left corner, its font's cell height, its weight.
struct TextPlace {
    int x = 0, y = 0;
    int fontHeight = 0;
    bool bold = false;
};

inline constexpr int HorizontalRuleCount = 23;
inline constexpr int VerticalRuleCount = 13;
inline constexpr int CaptionCount = 33;
inline constexpr int FieldCount = 45;

// The 33 printed captions of the form, in the order of the form's caption table.
enum class Caption : std::uint8_t {
    FormCode,                // "0401060" in its box
    ReceivedByPayerBank,     // "Поступ. в банк плат."
    DebitedFromPayerAccount, // "Списано со сч. плат."
    Title,                   // "ПЛАТЕЖНОЕ ПОРУЧЕНИЕ №"
    Date,
    PaymentKind,
    AmountInWords1, // "Сумма"
    AmountInWords2, // "прописью"
    PayerInn,
    PayerKpp,
    Amount,       // "Сумма" at the amount figure
    PayerAccount, // "Сч. №"
    Payer,        // "Плательщик"
    PayerBik,
    PayerCorrAccount,
    PayerBank,
    PayeeBik,
    PayeeCorrAccount,
    PayeeBank,
    PayeeInn,
    PayeeKpp,
    PayeeAccount,
    OperationKind,      // "Вид оп."
    PaymentTerm,        // "Срок плат."
    PaymentPurposeCode, // "Наз. пл."
    Priority,           // "Очер. плат."
    Payee,              // "Получатель"
    Code,
    ReservedField, // "Рез. поле"
    Purpose,       // "Назначение платежа"
    Signatures,
    BankMarks, // "Отметки банка"
    Stamp,     // "М.П."
};
static_assert(int(Caption::Stamp) == CaptionCount - 1);

// The 45 texts of the form, in the order of the form's field table (the value is the
// field's row in it). A text that may take two lines has a field per line.
enum class Field : std::uint8_t {
    // The title row: number, date, payment kind ("Электронно", ...), and the payer status
    // ("01", "02") in its box, printed for budget payments only.
    Number,
    Date,
    PaymentKind,
    PayerStatus,
    AmountInWords1,
    PayerInn,
    PayerKpp,
    AmountFigure, // "1000-00"
    PayerName1,
    PayerAccount,
    PayerBank1,
    PayerBik,
    PayerCorrAccount,
    PayeeBank1,
    PayeeBik,
    PayeeCorrAccount,
    PayeeInn,
    PayeeKpp,
    PayeeAccount,
    PayeeName1,
    OperationKind, // always "01"
    Priority,      // the lowest priority of the order's date
    // Rows 22 to 28 of the table: always empty and never placed.
    Unused22,
    Unused23,
    Unused24,
    Unused25,
    Unused26,
    Unused27,
    Unused28,
    // The purpose of payment, up to three lines followed by the tax line.
    Purpose1,
    Purpose2,
    Purpose3,
    Purpose4,
    // Second lines of the bank names, the names and the amount in words.
    PayerBank2,
    PayeeBank2,
    PayerName2,
    PayeeName2,
    AmountInWords2,
    // The tax row of budget payments, left to right: КБК, ОКАТО, basis, tax period, document
    // number, document date, payment type.
    BudgetClassificationCode,
    Okato,
    PaymentBasis,
    TaxPeriod,
    TaxDocumentNumber,
    TaxDocumentDate,
    TaxPaymentType,
};
static_assert(int(Field::TaxPaymentType) == FieldCount - 1);

// Every key of an enum class whose values are 0 to N - 1, in order.
template <class Key, int N> constexpr std::array<Key, N> allKeys() {
    std::array<Key, N> all{};
    for (int i = 0; i < N; ++i)
        all[std::size_t(i)] = Key(i);
    return all;
}
inline constexpr auto AllCaptions = allKeys<Caption, CaptionCount>();
inline constexpr auto AllFields = allKeys<Field, FieldCount>();

// The purpose lines from top to bottom, and the tax row from left to right.
inline constexpr std::array<Field, 4> PurposeFields = {Field::Purpose1, Field::Purpose2,
                                                       Field::Purpose3, Field::Purpose4};
inline constexpr std::array<Field, 7> TaxRowFields = {
    Field::BudgetClassificationCode, Field::Okato,           Field::PaymentBasis,  Field::TaxPeriod,
    Field::TaxDocumentNumber,        Field::TaxDocumentDate, Field::TaxPaymentType};

// One value per key of an enum class whose values are 0 to N - 1, indexed by the key.
template <class Key, int N, class T> class ArrayBy {
public:
    T& operator[](Key k) { return items_[std::size_t(k)]; }
    const T& operator[](Key k) const { return items_[std::size_t(k)]; }

private:
    std::array<T, N> items_{};
};
template <class T> using CaptionArray = ArrayBy<Caption, CaptionCount, T>;
template <class T> using FieldArray = ArrayBy<Field, FieldCount, T>;

// The frame and captions of the form on one device; they do not depend on the order.
struct FormGeometry {
    DeviceMetrics device;
    int pageWidth = 0, pageHeight = 0; // the A4 sheet in pixels, without offsets
    std::array<Rule, HorizontalRuleCount> horizontalRules{};
    std::array<Rule, VerticalRuleCount> verticalRules{};
    std::array<Box, 2> boxes{}; // form number box, payer status box
    CaptionArray<TextPlace> captions;
    int bandOffset = 0; // c: centres texts vertically in the 5 mm bands between rules
};

// The 33 caption texts, code page 1251.
const CaptionArray<QByteArray>& captionTexts();

// One party of the order as the form shows it.
struct Party {
    bool present = false; // nothing chosen: all its texts stay empty
    storage::OrganizationRecord firm{};
    int bankSlot = 0;
};

// Everything the form shows of one order, as the editor holds it. Texts are code page 1251.
struct OrderInput {
    QByteArray number, date, kindText, statusText, amountText;
    // The purpose as the editor's box holds it: its lines in order.
    QList<QByteArray> purposeLines;
    Party payer, payee;
    // The stored choices (storage/choices.h); the form prints the rate and the priority of
    // the order's date.
    int vatRate = 0;
    int priorityChoice = 0;
    int statusChoice = 0; // 0 "Нет": not a budget payment
    storage::BudgetFields budget;

    bool budgetPayment() const { return statusChoice != 0; }
};

// The 45 field texts and their places.
struct FormFields {
    FieldArray<storage::WorkText> texts;
    FieldArray<TextPlace> places;
};

struct FormLayout {
    FormGeometry geometry;
    FormFields fields;
};

// The frame, boxes and captions on a device (captions are measured with measurer).
FormGeometry computeGeometry(const DeviceMetrics& device, TextMeasurer& measurer);

// The 45 field texts of an order, fitted on the device of geometry.
FieldArray<storage::WorkText>
computeFieldTexts(const OrderInput& order, const FormGeometry& geometry, TextMeasurer& measurer);

// The places of the 45 fields; centred fields are measured with their texts.
FieldArray<TextPlace> computeFieldPlaces(const FormGeometry& geometry,
                                         const FieldArray<storage::WorkText>& texts,
                                         TextMeasurer& measurer);

// All of it at once.
FormLayout layOut(const OrderInput& order, const DeviceMetrics& device, TextMeasurer& measurer);

// The purpose of payment as the printed form joins it: its first five lines with single
// spaces between them, at most 255 characters.
storage::WorkText printedPurpose(const OrderInput& order);

// The tax line the form prints right after the purpose, for the order's amount as parsed;
// empty when the form prints none.
storage::WorkText taxLine(const OrderInput& order, const ParsedAmount& amount);

// The bank name as the form prints it: capital Cyrillic letters, except a "г" standing for
// a town ("г." after a blank).
storage::WorkText bankNameForForm(std::string_view name);

} // namespace render
