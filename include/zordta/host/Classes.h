// Components, string lists and streams: the parts of the host framework's class
// library that the components use.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "zordta/host/Types.h"

namespace zor {

/// Base of every component. An owner deletes the components it owns when it is
/// destroyed; a component deleted first leaves its owner's list. Without an owner
/// the caller owns the component (a local variable is fine).
class ZORDTA_API TComponent {
 public:
  explicit TComponent(TComponent* aOwner);
  virtual ~TComponent();
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return fOwner; }
  int ComponentCount() const { return static_cast<int>(fComponents.size()); }
  TComponent* Components(int index) const;

  /// The name of the most derived class ("TZorDTA").
  virtual String ClassName() const;

  /// The component's name ("ZorDTA1"); empty unless set.
  const String& Name() const { return fName; }
  /// Raises Exception unless the name is empty or an identifier (ASCII letters,
  /// digits, "_", no leading digit) that no other component of the owner bears.
  void SetName(const String& value);

 private:
  TComponent* fOwner;
  String fName;
  std::vector<TComponent*> fComponents;
};

/// A list of text lines.
class ZORDTA_API TStrings {
 public:
  virtual ~TStrings();

  virtual int Count() const = 0;
  /// The line at index; raises Exception for an index outside 0..Count()-1.
  virtual String Strings(int index) const = 0;
  /// The line at index as Strings answers it, without a copy where the list can
  /// lend its own: valid until the list or scratch changes. The default copies
  /// the line into scratch and answers scratch.
  virtual const String& StringsRef(int index, String& scratch) const;
  virtual void SetStrings(int index, const String& line) = 0;
  virtual void Insert(int index, const String& line) = 0;
  /// Insert for a line the caller gives up; the default copies it through Insert.
  virtual void InsertMoved(int index, String&& line);
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;

  /// Appends a line and answers its index.
  int Add(const String& line);
  /// The same for a line the caller gives up (a temporary): a list that keeps
  /// its lines takes it over without a copy.
  int Add(String&& line);
  /// Every line followed by CR LF.
  String Text() const;
  /// Replaces the lines by those of text, split at CR LF, CR or LF; a line break at
  /// the very end starts no further line.
  void SetText(const String& text);
  /// Replaces the lines by those of another list.
  void Assign(const TStrings& source);
};

/// The plain string list.
class ZORDTA_API TStringList : public TStrings {
 public:
  TStringList();
  ~TStringList() override;

  int Count() const override { return static_cast<int>(fLines.size()); }
  String Strings(int index) const override;
  /// Lends the list's own line.
  const String& StringsRef(int index, String& scratch) const override;
  void SetStrings(int index, const String& line) override;
  void Insert(int index, const String& line) override;
  void InsertMoved(int index, String&& line) override;
  void Delete(int index) override;
  void Clear() override { fLines.clear(); }

 private:
  std::vector<String> fLines;
};

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

/// A sequence of bytes with a position.
class ZORDTA_API TStream {
 public:
  virtual ~TStream();
  /// Reads up to count bytes; answers how many were read (0 at the end).
  virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
  /// Writes count bytes; raises Exception when they cannot all be written.
  virtual void Write(const void* buffer, std::int64_t count) = 0;
  virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;
  virtual std::int64_t Size() const = 0;
  virtual void SetSize(std::int64_t size) = 0;

  std::int64_t Position() { return Seek(0, soCurrent); }
  void SetPosition(std::int64_t position) { Seek(position, soBeginning); }
};

/// A stream in memory over 8-bit text; appends are amortised O(1).
class ZORDTA_API TStringStream : public TStream {
 public:
  explicit TStringStream(AnsiString data = AnsiString());
  ~TStringStream() override;

  std::int64_t Read(void* buffer, std::int64_t count) override;
  void Write(const void* buffer, std::int64_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  std::int64_t Size() const override { return static_cast<std::int64_t>(fData.size()); }
  void SetSize(std::int64_t size) override;

  /// All bytes of the stream.
  const AnsiString& DataString() const { return fData; }

 private:
  AnsiString fData;
  std::size_t fPosition = 0;
};

/// File open modes, combined with "|": one of fmCreate, fmOpenRead, fmOpenWrite,
/// fmOpenReadWrite, and optionally fmShareExclusive.
inline constexpr std::uint16_t fmOpenRead = 0x0000;
inline constexpr std::uint16_t fmOpenWrite = 0x0001;
inline constexpr std::uint16_t fmOpenReadWrite = 0x0002;
inline constexpr std::uint16_t fmShareExclusive = 0x0010;
inline constexpr std::uint16_t fmCreate = 0xFF00;

/// A stream over a file. With fmShareExclusive the file is locked exclusively
/// (a non-blocking lock: a file another process holds is refused at once).
/// Raises Exception when the file cannot be opened, created or locked.
class ZORDTA_API TFileStream : public TStream {
 public:
  TFileStream(const String& fileName, std::uint16_t mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  std::int64_t Read(void* buffer, std::int64_t count) override;
  void Write(const void* buffer, std::int64_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  std::int64_t Size() const override;
  void SetSize(std::int64_t size) override;

  const String& FileName() const { return fFileName; }

 private:
  String fFileName;
  int fHandle = -1;
};

}  // namespace zor
