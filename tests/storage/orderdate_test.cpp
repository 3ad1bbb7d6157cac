// The grammar of order dates: the strict reading of a typed date and the lenient reading of a
// stored one.
#include "storage/orderdate.h"

#include <gtest/gtest.h>

using namespace storage;

TEST(OrderDate, TypedAndStoredReadings) {
    struct Case {
        const char* text;
        DateError typed;
        bool stored;   // the stored reading gives a date
        int dayNumber; // of the stored reading
        bool calendar; // that date exists in the calendar
    } const cases[] = {
        {"05.03.2009", DateError::None, true, 20090305, true},
        {"5.03.2009", DateError::None, true, 20090305, true}, // the editor's own form
        {"29.02.2024", DateError::None, true, 20240229, true},
        {"31.12.2099", DateError::None, true, 20991231, true},
        {"31.02.2026", DateError::NotInCalendar, true, 20260231, false},
        {"30.02.2024", DateError::NotInCalendar, true, 20240230, false},
        {"29.02.2023", DateError::NotInCalendar, true, 20230229, false},
        {"31.06.2009", DateError::NotInCalendar, true, 20090631, false},
        {"01.01.1999", DateError::BadFormat, true, 19990101, true}, // stored: any year
        {"01.01.2100", DateError::BadFormat, true, 21000101, true},
        {"1.2.2024", DateError::BadFormat, false, 0, false},
        {"05.3.2009", DateError::BadFormat, false, 0, false},
        {"00.01.2009", DateError::BadFormat, false, 0, false},
        {"32.01.2009", DateError::BadFormat, false, 0, false},
        {"01.13.2009", DateError::BadFormat, false, 0, false},
        {"01.01.0000", DateError::BadFormat, false, 0, false},
        {"001.01.2009", DateError::BadFormat, false, 0, false},
        {"01.01.20091", DateError::BadFormat, false, 0, false},
        {"01/01/2009", DateError::BadFormat, false, 0, false},
        {"", DateError::BadFormat, false, 0, false},
    };
    for (const Case& c : cases) {
        const TypedDate typed = OrderDate::parseTyped(c.text);
        EXPECT_EQ(typed.error, c.typed) << c.text;
        const std::optional<OrderDate> stored = OrderDate::parseStored(c.text);
        ASSERT_EQ(stored.has_value(), c.stored) << c.text;
        if (!stored)
            continue;
        EXPECT_EQ(stored->dayNumber(), c.dayNumber) << c.text;
        EXPECT_EQ(stored->isCalendarDate(), c.calendar) << c.text;
        EXPECT_EQ(stored->toQDate().isValid(), c.calendar) << c.text;
    }
    EXPECT_EQ(OrderDate::parseTyped("5.03.2009").date.text().view(), "05.03.2009");
    EXPECT_EQ(OrderDate(2009, 3, 5).editorText(), "5.03.2009");
    EXPECT_EQ(typedDateMessage(DateError::NotInCalendar, "31.02.2026"),
              "Такой даты нет в календаре: 31.02.2026");
    EXPECT_EQ(typedDateMessage(DateError::BadFormat, "1.2.2024"), "Неверный формат даты");
}
