<?php
// Mail of new events: the stored events newer than the last one mailed
// that match the notification settings go out in one mail. What was sent
// is recorded only after the mail was handed over, so a failed send is
// tried again on the next pass and a sent one is never sent twice.
declare(strict_types=1);
require_once __DIR__ . '/controller.php';
require_once __DIR__ . '/datafile.php';

final class Mailer
{
    /** One pass; 'ok', 'busy' or 'failed'. Throws RuntimeException when the data file is unusable. */
    public static function pass(): string
    {
        // One pass at a time: two at once would mail the same events twice.
        $lock = DataFile::openLock(DataFile::path() . '.mail.lock');
        if ($lock === false || !flock($lock, LOCK_EX | LOCK_NB)) {
            return 'busy';
        }
        try {
            return self::mailNew() ? 'ok' : 'failed';
        } finally {
            flock($lock, LOCK_UN);
            fclose($lock);
        }
    }

    private static function mailNew(): bool
    {
        $s = DataFile::settings('Notify');
        $recipients = array_values(array_filter(array_map('trim', explode(',', $s['recipients'] ?? '')),
            fn($r) => filter_var($r, FILTER_VALIDATE_EMAIL) !== false));
        $classes = array_map('intval', array_filter(explode(' ', $s['classes'] ?? ''), 'strlen'));
        $severities = array_map('intval', array_filter(explode(' ', $s['severities'] ?? ''), 'strlen'));
        $mailed = (int)($s['mailedCount'] ?? 0);
        $total = Controller::eventCount();
        if ($total < $mailed) {
            $mailed = 0;  // the store was cleared behind the GUI's back
        }
        $fresh = $total > $mailed ? Controller::events($mailed, min(1000, $total - $mailed)) : [];
        $seen = $mailed + count($fresh);
        $match = array_filter($fresh, fn($e) => in_array((int)($e['Class'] ?? -1), $classes, true)
            && in_array((int)($e['Severity'] ?? -1), $severities, true));
        if ($match !== [] && $recipients !== []) {
            $lines = [];
            foreach ($match as $e) {
                $lines[] = trim($e['Time'] ?? '') . '  adapter ' . ($e['AdapterID'] ?? '?') . '  ['
                    . (Vocab::SEVERITIES[(int)($e['Severity'] ?? 0)] ?? '?') . ']  ' . ($e['Msg'] ?? '');
            }
            $host = php_uname('n');
            $subject = 'arraysuite: ' . count($match) . ' new RAID event' . (count($match) === 1 ? '' : 's') . ' on ' . $host;
            $from = ($s['sender'] ?? '') !== '' ? $s['sender'] : 'arraysuite@' . $host;
            if (!mail(implode(', ', $recipients), $subject, implode("\n", $lines) . "\n", ['From' => $from])) {
                error_log('sendMailNotify: the mail could not be handed to sendmail; it is tried again on the next pass');
                return false;
            }
        }
        if ($seen !== (int)($s['mailedCount'] ?? 0)) {
            self::record($seen);
        }
        return true;
    }

    public static function record(int $seen): void
    {
        DataFile::modify(function (DOMDocument $doc) use ($seen) {
            DataFile::setSetting($doc, 'Notify', 'mailedCount', (string)$seen);
        });
    }
}
