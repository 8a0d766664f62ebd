#include "store/SQLiteAutoTransaction.h"

#include "store/SettingsStore.h"

SQLiteAutoTransaction::SQLiteAutoTransaction(SettingsStore* store) : m_database(store) {
  if (m_database == nullptr) {
    return;
  }
  m_lock = std::unique_lock<std::recursive_mutex>(m_database->Lock());
  if (m_database->IsOpen()) {
    m_begun = m_database->BeginTransaction();
    m_active = m_begun;
  }
}

SQLiteAutoTransaction::~SQLiteAutoTransaction() {
  if (m_active) {
    End();
  }
}

bool SQLiteAutoTransaction::Begin() {
  if (m_active || m_database == nullptr) {
    return false;
  }
  m_active = true;
  if (!m_database->IsOpen()) {
    return false;
  }
  m_begun = m_database->BeginTransaction();
  return m_begun;
}

bool SQLiteAutoTransaction::End() {
  m_active = false;
  if (!m_begun) {
    return false;
  }
  m_begun = false;
  return m_database->EndTransaction();
}

void SQLiteAutoTransaction::Fail() {
  if (m_begun) {
    m_database->FailTransaction();
  }
}

bool SQLiteAutoTransaction::Failed() const {
  return !m_begun || m_database->TransactionFailed();
}
