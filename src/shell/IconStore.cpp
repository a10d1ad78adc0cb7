#include "IconStore.h"

#include <QCoreApplication>

#include "IconFiles.h"

namespace {

TIconStore*& StorePointer() {
  static TIconStore* store = nullptr;
  return store;
}

// Pixmaps must go before the application object does.
void ReleaseStore() {
  delete StorePointer();
  StorePointer() = nullptr;
}

}  // namespace

TIconStore& IconStore() {
  TIconStore*& store = StorePointer();
  if (store == nullptr) {
    store = new TIconStore;
    if (QCoreApplication::instance() != nullptr) qAddPostRoutine(ReleaseStore);
  }
  return *store;
}

void ClearIconCache() {
  if (StorePointer() != nullptr) *StorePointer() = TIconStore();
}
