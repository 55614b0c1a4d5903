// One copy at a time across the tabs and windows of this browser profile: the lock "TOLVI",
// held while the program runs, as the Windows program holds its mutex.
const LOCK_NAME = "TOLVI";

// Runs run (async) while holding the lock; resolves with false at once, running nothing,
// when another tab holds it. Without Web Locks there is no guard, and the program runs.
export async function whileHoldingLock(run) {
  if (!navigator.locks) {
    await run();
    return true;
  }
  return navigator.locks.request(LOCK_NAME, { ifAvailable: true }, async (lock) => {
    if (!lock) return false;
    await run();
    return true;
  });
}
