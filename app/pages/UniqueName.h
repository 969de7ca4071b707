// The name a new item of a list gets: "<prefix> <n>" with the smallest free n. The profile
// operations name a new profile after the profile lists' items, the macro page a duplicate
// after the macro list's. Pure functions over the items' texts; any thread.
#pragma once

#include <vector>

#include "ui/core/CString.h"

// "<prefix> <n>" with the smallest n from 1 that no text of taken equals (exactly, with its
// case); at 1000 that name is given even when it is taken.
CString MakeUniqueName(const CString& prefix, const std::vector<CString>& taken);

// The item texts of a list or combo (GetItemCount, GetItemText); none for a null list.
template <class List>
std::vector<CString> ItemTexts(List* list) {
  std::vector<CString> texts;
  const int count = list ? list->GetItemCount() : 0;
  texts.reserve(count > 0 ? count : 0);
  for (int i = 0; i < count; ++i) texts.push_back(list->GetItemText(i));
  return texts;
}
