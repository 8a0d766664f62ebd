#pragma once
// The outcome of a change that the program's rules may refuse.  A refusal
// carries the message the user must see as the text id and title id of the
// language file: the window shows it in a message box, the command-line
// tool prints the texts.
enum class RuleOutcome {
  Done,
  Refused,   // a rule said no (a limit, a blocked or empty name)
  NotFound,  // the profile, key or macro named does not exist
  Failed,    // the store could not do it; nothing changed
};

struct RuleResult {
  RuleOutcome outcome = RuleOutcome::Failed;
  int id = 0;  // what was made or changed
  int textId = 0;
  int titleId = 0;

  bool Ok() const { return outcome == RuleOutcome::Done; }
  static RuleResult Done(int id = 0) { return {RuleOutcome::Done, id, 0, 0}; }
  static RuleResult Refused(int textId, int titleId) { return {RuleOutcome::Refused, 0, textId, titleId}; }
  static RuleResult NotFound() { return {RuleOutcome::NotFound, 0, 0, 0}; }
  static RuleResult Failed() { return {RuleOutcome::Failed, 0, 0, 0}; }
};
