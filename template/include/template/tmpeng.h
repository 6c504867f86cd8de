// The template engine: class tmpeng and the interfaces it reaches callers' objects through.
#pragma once

#include <any>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "template/template_export.h"

namespace templates {

// The class identity under which the engine has always been published; kept so that a
// registry of components or a caller that binds by id still recognises it.
inline constexpr char kTypeLibraryName[] = "templates";
inline constexpr char kTypeLibraryHelp[] = "Quorvin Template Engine.";
inline constexpr char kTypeLibraryId[] = "{02C6E3AF-40EB-11D7-8B63-00036D1385E3}";
inline constexpr int kTypeLibraryMajor = 1;
inline constexpr int kTypeLibraryMinor = 0;
inline constexpr char kClassId[] = "{02C6E3B1-40EB-11D7-8B63-00036D1385E3}";
inline constexpr char kProgramId[] = "templates.tmpeng";
inline constexpr char kInterfaceId[] = "{02C6E3B0-40EB-11D7-8B63-00036D1385E3}";

// The name of the store file in the engine's folder.
inline constexpr char kStoreFileName[] = "templates.dat";

using Flag = std::int16_t;  // -1 true, 0 false; callers test for nonzero
inline constexpr Flag kTrue = -1;
inline constexpr Flag kFalse = 0;

// A caller's object, reached by late binding: the engine asks it for the interface an
// operation needs and fails with error 438 when it does not have it.
class TEMPLATE_EXPORT Object {
 public:
  virtual ~Object();
};

// What the engine needs of a tree view: its root nodes, each with a text and a key.
class TEMPLATE_EXPORT TreeView : public Object {
 public:
  virtual void Clear() = 0;
  virtual void Add(const std::u16string& key, const std::u16string& text) = 0;
  virtual int Count() const = 0;
  virtual std::u16string Text(int i) const = 0;  // i from 1
  virtual std::u16string Key(int i) const = 0;
};

// The template slots of a menu, n from 1 to 13.
class TEMPLATE_EXPORT MenuSlots : public Object {
 public:
  virtual void SetCaption(int n, const std::u16string& caption) = 0;
  virtual void SetTag(int n, const std::u16string& tag) = 0;
};

// Error numbers the engine reports.
enum ErrorNumber : int {
  kErrOverflow = 6,
  kErrTypeMismatch = 13,
  kErrFileNotFound = 53,
  kErrDeviceIO = 57,
  kErrDiskFull = 61,
  kErrPermissionDenied = 70,
  kErrPathFileAccess = 75,
  kErrNoSuchMember = 438,
};

// A failure of an engine operation. what() names the store file and the reason.
class TEMPLATE_EXPORT EngineError : public std::runtime_error {
 public:
  EngineError(int number, const std::filesystem::path& file, const std::string& reason);
  int number() const;                         // 53 file not found, 13 type mismatch, 438 ...
  std::uint32_t status() const;               // 0x800A0000 + number()
  const std::filesystem::path& file() const;  // the file concerned; empty for none
  // The standard meaning of an error number ("File not found" for 53).
  static std::string Meaning(int number);

 private:
  int number_;
  std::filesystem::path file_;
};

// What a template name may hold, for Add, Rename and Import alike: anything but the field
// separator (byte 4), which would end the name where it is stored and push the rest of it
// into the value, and at most kLongestName characters (UTF-16 units), as many as a name box
// holds, so that every name stored can be chosen and edited. Empty when `name` may be a
// template's name, else the reason: kNameHoldsSeparator or kNameTooLong.
TEMPLATE_EXPORT std::string NameProblem(std::u16string_view name);
inline constexpr std::size_t kLongestName = 32767;
inline constexpr const char* kNameHoldsSeparator =
    "A template name cannot contain the control character 0x04: it separates a template's name "
    "from its value in the store.";
inline constexpr const char* kNameTooLong =
    "A template name cannot be longer than 32767 characters.";
// Why an import refuses a template whose text a template has already (as Add refuses it).
inline constexpr const char* kTextStored = "A template with the same text is stored already.";

// One template of a file being imported.
struct ImportEntry {
  std::u16string name;
  std::u16string value;
};

// What an import does with a template whose name the store has already (ignoring case).
enum class Clash { kSkip, kReplace, kKeepBoth };

// What an import did.
struct MergeResult {
  int added = 0;
  int replaced = 0;
  int skipped = 0;
  // The entries refused, by the name rule or for a text stored already: their place in the
  // list (from 0) and the reason (NameProblem's, or kTextStored).
  std::vector<std::pair<std::size_t, std::string>> refused;
};

// The engine's default interface. The order of the members is part of the interface.
class TEMPLATE_EXPORT _tmpeng {
 public:
  virtual ~_tmpeng();
  virtual void Template_EditA(std::u16string tName, std::u16string tValue) = 0;
  virtual void Template_EditB(std::u16string tName, std::u16string tValue) = 0;
  virtual Flag Template_RmA(std::u16string tName) = 0;
  virtual std::any Template_RmB(std::u16string tName) = 0;
  virtual Flag Template_AddB(std::u16string tName, std::u16string tValue) = 0;
  virtual Flag Template_AddA(std::u16string tName, std::u16string tValue, Object& objObject) = 0;
  virtual void Template_LoadA(Object& objObject) = 0;
  virtual void Template_LoadB(Object& objObject) = 0;
  virtual Flag Check_Exists_Obj(std::u16string tName, std::u16string tValue, Object& objObject) = 0;
  virtual Flag Check_Exists(std::u16string tName, std::u16string tValue, Object& objObject) = 0;
  virtual void Maintain() = 0;
  virtual std::u16string Version() = 0;
};

// The engine. It keeps no template data: every member opens the store, does its work and
// closes it again, so a change made through one instance is seen by the next call of any.
class TEMPLATE_EXPORT tmpeng : public _tmpeng {
 public:
  tmpeng();                                       // store in the folder that holds the library
  explicit tmpeng(std::filesystem::path folder);  // store in `folder`

  void Template_EditA(std::u16string tName, std::u16string tValue) override;
  void Template_EditB(std::u16string tName, std::u16string tValue) override;
  Flag Template_RmA(std::u16string tName) override;
  std::any Template_RmB(std::u16string tName) override;
  Flag Template_AddB(std::u16string tName, std::u16string tValue) override;
  Flag Template_AddA(std::u16string tName, std::u16string tValue, Object& objObject) override;
  void Template_LoadA(Object& objObject) override;
  void Template_LoadB(Object& objObject) override;
  Flag Check_Exists_Obj(std::u16string tName, std::u16string tValue, Object& objObject) override;
  Flag Check_Exists(std::u16string tName, std::u16string tValue, Object& objObject) override;
  void Maintain() override;
  std::u16string Version() override;

  // The full path of the store this engine works on.
  std::filesystem::path StorePath() const;

  // Members beside the written interface, with its locking, atomic rewrite and error
  // numbers. Names are matched as Template_EditB matches them.
  //
  // Moves the template named `tName` `steps` places in the store's order, counted in
  // templates: negative towards the start (the popup's first slots), positive towards the
  // end, stopping at either. Lines that hold no template keep their places. kTrue when it
  // moved; kFalse when no template has the name or it cannot move that way.
  Flag Template_Move(std::u16string tName, int steps);
  // Gives the template named `tOld` the name `tNew`, keeping its place, index and value.
  // kFalse when no template has the old name, or another has the new one (ignoring case,
  // as Add does), or the new name is empty.
  Flag Template_Rename(std::u16string tOld, std::u16string tNew);
  // Adds `entries` in one rewrite of the store under its exclusive lock, so that a writer
  // racing it comes wholly before or after. An entry whose name the store (or an entry
  // before it) has already, ignoring case, is skipped, replaces that template's value, or
  // is added as "name (2)", "name (3)"... as `clash` says; one whose name breaks the name
  // rule, or whose value a template has already (which Template_AddB refuses too), is
  // refused. New templates go after the store's last line.
  MergeResult Template_Merge(const std::vector<ImportEntry>& entries, Clash clash);
  // Replaces the whole store with `bytes` in one atomic rewrite under its exclusive lock, and
  // returns the bytes it replaced, so that they can be kept.
  std::string Template_Replace(std::string_view bytes);

 private:
  std::filesystem::path folder_;
  std::u16string version_;
};

// The folder that holds the engine library itself.
TEMPLATE_EXPORT std::filesystem::path LibraryFolder();

}  // namespace templates
