#include "services/power/battery_info.h"

#include <QtTest>

using pw::platform::PowerSupply;

namespace {
PowerSupply battery(const char* name = "BAT0") {
    PowerSupply s;
    s.name = name;
    s.type = "Battery";
    s.scope = "";
    s.status = "Discharging";
    return s;
}
} // namespace

class TestBatteryInfo : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void choosesTheInternalBattery() {
        PowerSupply mains;
        mains.name = "AC";
        mains.type = "Mains";
        PowerSupply mouse = battery("hid-00:11:22-battery");
        mouse.scope = "Device";
        mouse.capacity = 10;
        PowerSupply internal = battery("BAT0");
        internal.capacity = 87;
        QVERIFY(!pw::batteryInfoFrom({}));
        QVERIFY(!pw::batteryInfoFrom({mains, mouse}));
        const auto info = pw::batteryInfoFrom({mains, mouse, internal});
        QVERIFY(info);
        QCOMPARE(info->percentage.value_or(-1), 87);
    }

    void percentageIsTruncatedFromWhateverTheKernelOffers() {
        PowerSupply s = battery();
        s.energyNow = 2;
        s.energyFull = 3;
        QCOMPARE(pw::batteryInfoFrom({s})->percentage.value_or(-1), 66);
        s = battery();
        s.chargeNow = 45;
        s.chargeFull = 50;
        QCOMPARE(pw::batteryInfoFrom({s})->percentage.value_or(-1), 90);
        // A full charge of 0 must not divide by zero.
        s.chargeFull = 0;
        QVERIFY(!pw::batteryInfoFrom({s})->percentage);
        QVERIFY(!pw::batteryInfoFrom({battery()})->percentage); // nothing to go by: unknown
    }

    void implausibleReadingsAreUnknown() {
        PowerSupply s = battery();
        s.capacity = -73;
        s.energyNow = 30'000'000;
        s.powerNow = 7'400'000;
        const auto broken = pw::batteryInfoFrom({s});
        QVERIFY(!broken->percentage);
        QVERIFY(!broken->timeToEmpty); // no "243 min left" from a broken gauge
        QCOMPARE(broken->wattage.value_or(-1), 7.4);
        // 0 to 100 %, and up to 1 kW, are believed; beyond is unknown.
        for (const auto& [capacity, known] : {std::pair{101, false}, {100, true}, {0, true}}) {
            s.capacity = capacity;
            QCOMPARE(pw::batteryInfoFrom({s})->percentage.has_value(), known);
        }
        for (const auto& [microwatts, known] :
             {std::pair{1'000'000'001LL, false}, {1'000'000'000LL, true}}) {
            s.powerNow = microwatts;
            QCOMPARE(pw::batteryInfoFrom({s})->wattage.has_value(), known);
        }
    }

    void stateIsWhatTheBatterySays() {
        using pw::BatteryState;
        const std::pair<const char*, std::optional<BatteryState>> cases[] = {
            {"Charging", BatteryState::Charging},
            {"Discharging", BatteryState::Discharging},
            {"Full", BatteryState::Full},
            {"Not charging", BatteryState::NotCharging},
            {"Unknown", std::nullopt},
            {"", std::nullopt},
        };
        for (const auto& [status, state] : cases) {
            PowerSupply s = battery();
            s.status = status;
            const auto info = pw::batteryInfoFrom({s});
            QCOMPARE(info->state, state);
            // Only a charging battery is charging: Full on AC is not.
            QCOMPARE(info->isCharging, state == BatteryState::Charging);
        }
        QCOMPARE(QString::fromLatin1(pw::batteryStateKey(BatteryState::NotCharging)),
                 QStringLiteral("not-charging"));
        QCOMPARE(QString::fromLatin1(pw::batteryStateText(BatteryState::Full)),
                 QStringLiteral("Charged"));
    }

    void wattageIsPositiveWhetherChargingOrNot() {
        PowerSupply s = battery();
        s.voltageNow = 12'500'000; // µV
        s.currentNow = -1'600'000; // µA, negative on some drivers while discharging
        QCOMPARE(pw::batteryInfoFrom({s})->wattage.value_or(-1), 20.0);
        s.currentNow = 1'600'000;
        s.status = "Charging";
        const auto charging = pw::batteryInfoFrom({s});
        QCOMPARE(charging->wattage.value_or(-1), 20.0);
        QVERIFY(charging->isCharging);
        s.powerNow = 7'250'000; // µW wins when the kernel reports it
        QCOMPARE(pw::batteryInfoFrom({s})->wattage.value_or(-1), 7.25);
        s = battery();
        s.voltageNow = 12'000'000; // no current: no draw can be known
        QVERIFY(!pw::batteryInfoFrom({s})->wattage);
    }

    void timeToEmptyOnlyWhileDischarging() {
        PowerSupply s = battery();
        s.energyNow = 30'000'000; // 30 Wh
        s.powerNow = 10'000'000;  // 10 W → 3 h
        QCOMPARE(pw::batteryInfoFrom({s})->timeToEmpty.value_or(-1), 180);
        s.powerNow.reset();
        s.chargeNow = 2'000'000;   // 2 Ah
        s.currentNow = -4'000'000; // 4 A → 30 min
        QCOMPARE(pw::batteryInfoFrom({s})->timeToEmpty.value_or(-1), 30);
        s.status = "Charging";
        QVERIFY(!pw::batteryInfoFrom({s})->timeToEmpty);
        s = battery();
        s.energyNow = 30'000'000;
        s.powerNow = 0; // idle reading: unknown, not infinite
        QVERIFY(!pw::batteryInfoFrom({s})->timeToEmpty);
    }
};

QTEST_APPLESS_MAIN(TestBatteryInfo)
#include "tst_battery_info.moc"
