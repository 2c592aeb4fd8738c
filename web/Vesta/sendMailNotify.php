<?php
// Asked by the daemon on every pass: mails the stored events that are newer
// than the last one mailed and match the notification settings. What was
// sent is recorded only after the mail was handed over, so a failed send
// is tried again on the next pass and a sent one is never sent twice.
declare(strict_types=1);
require_once __DIR__ . '/../lib/session.php';
require_once __DIR__ . '/../lib/controller.php';
require_once __DIR__ . '/../lib/datafile.php';

require_loopback();
header('Content-Type: text/plain');
$lock = fopen(DataFile::path() . '.mail.lock', 'c');
if ($lock === false || !flock($lock, LOCK_EX | LOCK_NB)) {
    echo "busy\n";  // another pass is mailing
    exit;
}
try {
    $s = DataFile::settings('Notify');
    $recipients = array_values(array_filter(array_map('trim', explode(',', $s['recipients'] ?? '')),
        fn($r) => filter_var($r, FILTER_VALIDATE_EMAIL) !== false));
    $classes = array_map('intval', array_filter(explode(' ', $s['classes'] ?? ''), 'strlen'));
    $severities = array_map('intval', array_filter(explode(' ', $s['severities'] ?? ''), 'strlen'));
    $mailed = (int)($s['mailedCount'] ?? 0);
    $total = Controller::eventCount();
    if ($total < $mailed) {
        $mailed = 0;  // the log was cleared since
    }
    $fresh = $total > $mailed ? Controller::events($mailed, min(1000, $total - $mailed)) : [];
    $seen = $mailed + count($fresh);
    $match = array_filter($fresh, fn($e) => in_array((int)$e['Class'], $classes, true)
        && in_array((int)$e['Severity'], $severities, true));
    $sent = true;
    if ($match !== [] && $recipients !== []) {
        $lines = [];
        foreach ($match as $e) {
            $lines[] = trim($e['Time']) . '  adapter ' . $e['AdapterID'] . '  ['
                . (Vocab::SEVERITIES[(int)$e['Severity']] ?? $e['Severity']) . ']  ' . $e['Msg'];
        }
        $subject = 'arraysuite: ' . count($match) . ' new RAID event' . (count($match) === 1 ? '' : 's')
            . ' on ' . php_uname('n');
        $sent = mail(implode(', ', $recipients), $subject, implode("\n", $lines) . "\n",
            ['From' => $s['sender'] ?? ('arraysuite@' . php_uname('n'))]);
    }
    if ($sent && $seen !== (int)($s['mailedCount'] ?? 0)) {
        DataFile::modify(function (DOMDocument $doc) use ($seen) {
            DataFile::setSetting($doc, 'Notify', 'mailedCount', (string)$seen);
        });
    }
    echo $sent ? "ok\n" : "mail failed; kept for the next pass\n";
    if (!$sent) {
        error_log('sendMailNotify: the mail could not be handed to sendmail; it is tried again on the next pass');
    }
} catch (RuntimeException $e) {
    error_log('sendMailNotify: ' . $e->getMessage());
    http_response_code(500);
} finally {
    flock($lock, LOCK_UN);
    fclose($lock);
}
