#include "DataItems.h"

#include <algorithm>

#include "FixedTexts.h"
#include "ValueStream.h"

// The title borrows the constant: most buttons made this way are filled at once.
TLaunchDataItem::TLaunchDataItem() : Title(TFieldText::Borrowing(cp932::kUnregistered)) {}

void TLaunchDataItem::WriteData(TValueWriter& writer) const {
  writer.WriteInteger(Kind);
  writer.WriteInteger(UseCount);
  writer.WriteString(Title);
  writer.WriteString(Link);
  writer.WriteString(AltLink);
  writer.WriteString(Params);
  writer.WriteString(WorkDir);
  writer.WriteString(IconFile);
  writer.WriteInteger(ShowCmd);
  writer.WriteInteger(IconIndex);
  writer.WriteString(Comment);
}

void TLaunchDataItem::ReadData(TValueReader& reader) {
  Kind = static_cast<std::uint8_t>(reader.ReadInteger() & 0xFF);
  UseCount = reader.ReadInteger();
  Title = reader.ReadString();
  Link = reader.ReadString();
  AltLink = reader.ReadString();
  Params = reader.ReadString();
  WorkDir = reader.ReadString();
  IconFile = reader.ReadString();
  ShowCmd = reader.ReadInteger();
  IconIndex = reader.ReadInteger();
  Comment = reader.ReadString();
}

bool TLaunchDataItem::operator==(const TLaunchDataItem& o) const {
  return Kind == o.Kind && UseCount == o.UseCount && Title == o.Title && Link == o.Link &&
         AltLink == o.AltLink && Params == o.Params && WorkDir == o.WorkDir &&
         IconFile == o.IconFile && ShowCmd == o.ShowCmd && IconIndex == o.IconIndex &&
         Comment == o.Comment;
}

void TPageItem::WriteData(TValueWriter& writer) const {
  writer.WriteString(Caption);
  writer.WriteInteger(Count);
  writer.WriteInteger(Extra);
}

void TPageItem::ReadData(TValueReader& reader) {
  Caption = reader.ReadString();
  SetCountFromFile(reader.ReadInteger());
  Extra = reader.ReadInteger();
}

void TPageItem::SetCountFromFile(std::int32_t count) {
  Count = std::max(count, 0);
  negativeInFile_ = std::min(count, 0);
}

bool TPageItem::operator==(const TPageItem& o) const {
  return Caption == o.Caption && Count == o.Count && Extra == o.Extra;
}

TDataStatus::TDataStatus() : AppName("PelloRunner"), Version("3.00"), Notice("MakerText(C)Dwo") {}

void TDataStatus::WriteData(TValueWriter& writer) const {
  writer.WriteString(AppName);
  writer.WriteString(Version);
  writer.WriteString(Notice);
  writer.WriteInteger(MaxPages);
  writer.WriteInteger(MaxButtons);
  writer.WriteInteger(MinButtons);
}

void TDataStatus::ReadData(TValueReader& reader) {
  AppName = reader.ReadString();
  Version = reader.ReadString();
  Notice = reader.ReadString();
  MaxPages = reader.ReadInteger();
  MaxButtons = reader.ReadInteger();
  MinButtons = reader.ReadInteger();
}

void TDataStatus::LoadFromStream(std::string_view stream) {
  TDataStatus read;
  TValueReader reader(stream);
  read.ReadData(reader);
  *this = read;
}

bool TDataStatus::operator==(const TDataStatus& o) const {
  return AppName == o.AppName && Version == o.Version && Notice == o.Notice &&
         MaxPages == o.MaxPages && MaxButtons == o.MaxButtons && MinButtons == o.MinButtons;
}

std::unique_ptr<TLaunchDataItem> NewLaunchItem() {
  return std::make_unique<TLaunchDataItem>();
}
