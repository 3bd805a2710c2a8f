// The published properties of the three classes, in declaration order. The order is
// part of the behaviour: loading runs the setters in it, so a TZorDTAZV gets
// IgnoreAmountAbove12500 first and then has it set anew by the setters of
// Bundeslandschluessel and Firmennummer.
#include <span>
#include <type_traits>

#include "package/PublishedProperties.h"
#include "zordta/ZorDTA.h"
#include "zordta/ZorDTAZV.h"

namespace zor::detail {
namespace {

template <class Setter>
struct SetterArgument;
template <class C, class A>
struct SetterArgument<void (C::*)(A)> {
  using type = std::remove_cvref_t<A>;
};

template <PropertyKind Kind, class C, auto Get>
void Read(const TComponent& component, PropertyValue& value) {
  const C& object = static_cast<const C&>(component);
  if constexpr (Kind == PropertyKind::Boolean) {
    value.boolean = (object.*Get)();
  } else if constexpr (Kind == PropertyKind::Date) {
    value.real = (object.*Get)();
  } else if constexpr (Kind == PropertyKind::AnsiText) {
    value.ansi = (object.*Get)();
  } else if constexpr (Kind == PropertyKind::Text) {
    value.text = (object.*Get)();
  } else {
    value.integer = static_cast<std::int64_t>((object.*Get)());
  }
}

// The reader has checked the value against the kind's range before a setter runs.
template <PropertyKind Kind, class C, auto Set>
void Write(TComponent& component, const PropertyValue& value) {
  C& object = static_cast<C&>(component);
  using Argument = typename SetterArgument<decltype(Set)>::type;
  if constexpr (Kind == PropertyKind::Boolean) {
    (object.*Set)(value.boolean);
  } else if constexpr (Kind == PropertyKind::Date) {
    (object.*Set)(value.real);
  } else if constexpr (Kind == PropertyKind::AnsiText) {
    (object.*Set)(value.ansi);
  } else if constexpr (Kind == PropertyKind::Text) {
    (object.*Set)(value.text);
  } else {
    (object.*Set)(static_cast<Argument>(value.integer));
  }
}

template <PropertyKind Kind, class C, auto Get, auto Set>
constexpr PropertyDescriptor Property(const char* name) {
  return {name, Kind, false, false, &Read<Kind, C, Get>, &Write<Kind, C, Set>};
}

constexpr PropertyDescriptor Event(const char* name) {
  return {name, PropertyKind::Event, false, false, nullptr, nullptr};
}

using K = PropertyKind;
using B = TZorBaseDTA;

constexpr PropertyDescriptor kBaseProperties[] = {
    Property<K::AnsiText, B, &B::AuftraggeberName, &B::SetAuftraggeberName>("AuftraggeberName"),
    Property<K::Int32, B, &B::AuftraggeberBLZ, &B::SetAuftraggeberBLZ>("AuftraggeberBLZ"),
    Property<K::Int64, B, &B::AuftraggeberKontoNr, &B::SetAuftraggeberKontoNr>(
        "AuftraggeberKontoNr"),
    Property<K::Date, B, &B::Ausfuehrungsdatum, &B::SetAusfuehrungsdatum>("Ausfuehrungsdatum"),
    Property<K::UInt32, B, &B::AnzahlBegleitzettel, &B::SetAnzahlBegleitzettel>(
        "AnzahlBegleitzettel"),
    Property<K::Text, B, &B::Path, &B::SetPath>("Path"),
    Property<K::Boolean, B, &B::ShowWarnings, &B::SetShowWarnings>("ShowWarnings"),
    // Stored like the others; its setter ignores what it is given.
    Property<K::Text, B, &B::Version, &B::SetVersion>("Version"),
    {"ValidateData", K::Boolean, true, true, &Read<K::Boolean, B, &B::ValidateData>,
     &Write<K::Boolean, B, &B::SetValidateData>},
};

constexpr PropertyDescriptor kDTAProperties[] = {
    Property<K::Boolean, TZorDTA, &TZorDTA::Lastschriften, &TZorDTA::SetLastschriften>(
        "Lastschriften"),
    Property<K::Boolean, TZorDTA, &TZorDTA::Abbuchungsauftrag, &TZorDTA::SetAbbuchungsauftrag>(
        "Abbuchungsauftrag"),
    Property<K::Boolean, TZorDTA, &TZorDTA::Zentralbank, &TZorDTA::SetZentralbank>("Zentralbank"),
    Event("OnDTAImport"),
    Event("OnExtendedDTAImport"),
};

using ZV = TZorDTAZV;

constexpr PropertyDescriptor kDTAZVProperties[] = {
    Property<K::AnsiText, ZV, &ZV::AuftraggeberName2, &ZV::SetAuftraggeberName2>(
        "AuftraggeberName2"),
    Property<K::AnsiText, ZV, &ZV::AuftraggeberStrasse, &ZV::SetAuftraggeberStrasse>(
        "AuftraggeberStrasse"),
    Property<K::AnsiText, ZV, &ZV::AuftraggeberOrt, &ZV::SetAuftraggeberOrt>("AuftraggeberOrt"),
    Property<K::Boolean, ZV, &ZV::IgnoreAmountAbove12500, &ZV::SetIgnoreAmountAbove12500>(
        "IgnoreAmountAbove12500"),
    Property<K::AnsiText, ZV, &ZV::Waehrungscode, &ZV::SetWaehrungscode>("Waehrungscode"),
    Property<K::Int32, ZV, &ZV::Bundeslandschluessel, &ZV::SetBundeslandschluessel>(
        "Bundeslandschluessel"),
    Property<K::Int32, ZV, &ZV::Firmennummer, &ZV::SetFirmennummer>("Firmennummer"),
    Property<K::UInt8, ZV, &ZV::ZahlungsArtSchluessel, &ZV::SetZahlungsArtSchluessel>(
        "ZahlungsArtSchluessel"),
};

}  // namespace

std::vector<const PropertyDescriptor*> PublishedPropertiesOf(const TComponent& component) {
  std::vector<const PropertyDescriptor*> properties;
  const auto add = [&](std::span<const PropertyDescriptor> table) {
    for (const PropertyDescriptor& p : table) properties.push_back(&p);
  };
  // By class rather than by ClassName(), so that a host's subclass keeps what it inherits.
  if (dynamic_cast<const TZorBaseDTA*>(&component)) add(kBaseProperties);
  if (dynamic_cast<const TZorDTA*>(&component)) add(kDTAProperties);
  if (dynamic_cast<const TZorDTAZV*>(&component)) add(kDTAZVProperties);
  return properties;
}

}  // namespace zor::detail
