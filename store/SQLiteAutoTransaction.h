#pragma once
// A transaction that ends when it leaves its scope.  Construction begins it
// (on the store's connection, when there is one) and takes the store's lock,
// so no other thread's statement can land inside it; destruction ends it.
//
// Ending commits, unless a statement run through the store inside the
// transaction failed (or Fail() was called): then everything it did is
// rolled back, so a batch is stored completely or not at all.
//
// Transactions nest: an inner one joins the outermost, and a failure inside
// any of them rolls back the whole outer transaction.
//
// Thread rules: a transaction belongs to the thread that created it.
#include <mutex>

class SettingsStore;

class SQLiteAutoTransaction {
 public:
  explicit SQLiteAutoTransaction(SettingsStore* store);
  virtual ~SQLiteAutoTransaction();
  SQLiteAutoTransaction(const SQLiteAutoTransaction&) = delete;
  SQLiteAutoTransaction& operator=(const SQLiteAutoTransaction&) = delete;

  // False when already active or without a store; marks the transaction
  // active and returns false when the store has no connection; otherwise
  // begins and returns whether that worked.
  bool Begin();
  // Commits (or rolls back after a failure) and clears active; true only
  // when the work was committed (or, for an inner transaction, nothing has
  // failed so far).
  bool End();
  // Makes End roll back.
  void Fail();

  bool Active() const { return m_active; }
  // True while a real transaction runs on the connection for this object.
  bool Begun() const { return m_begun; }
  // True once a statement inside the transaction has failed, and when no
  // transaction could be begun: work that needs one must not go on.
  bool Failed() const;

 private:
  SettingsStore* m_database = nullptr;
  bool m_active = false;
  bool m_begun = false;
  std::unique_lock<std::recursive_mutex> m_lock;
};
