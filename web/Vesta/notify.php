<?php
// Who gets mail, and for which event classes and severities.
declare(strict_types=1);
require_once __DIR__ . '/../lib/layout.php';
require_once __DIR__ . '/../lib/controller.php';
require_once __DIR__ . '/../lib/datafile.php';

require_login();
$ok = $err = null;
if ($_SERVER['REQUEST_METHOD'] === 'POST') {
    require_post();
    $recipients = array_values(array_filter(array_map('trim', explode(',', post_text('recipients'))), 'strlen'));
    $bad = array_filter($recipients, fn($r) => filter_var($r, FILTER_VALIDATE_EMAIL) === false);
    $pick = fn(string $k, array $allowed) => array_values(array_intersect(array_map('intval', (array)($_POST[$k] ?? [])), array_keys($allowed)));
    $sender = trim(post_text('sender'));
    if ($bad !== []) {
        $err = 'Not a mail address: ' . implode(', ', $bad);
    } elseif ($sender !== '' && filter_var($sender, FILTER_VALIDATE_EMAIL) === false) {
        $err = 'The sender is not a mail address.';
    } else {
        try {
            DataFile::modify(function (DOMDocument $doc) use ($recipients, $pick, $sender) {
                DataFile::setSetting($doc, 'Notify', 'recipients', implode(',', $recipients));
                DataFile::setSetting($doc, 'Notify', 'sender', $sender);
                DataFile::setSetting($doc, 'Notify', 'classes', implode(' ', $pick('classes', Vocab::CLASSES)));
                DataFile::setSetting($doc, 'Notify', 'severities', implode(' ', $pick('severities', Vocab::SEVERITIES)));
            });
            $ok = 'Notification settings saved.';
        } catch (RuntimeException $e) {
            $err = $e->getMessage();
        }
    }
}
$s = [];
try {
    $s = DataFile::settings('Notify');
} catch (RuntimeException $e) {
    $err = $e->getMessage();
}
$classes = array_map('intval', array_filter(explode(' ', $s['classes'] ?? ''), 'strlen'));
$severities = array_map('intval', array_filter(explode(' ', $s['severities'] ?? ''), 'strlen'));
page_head('Notifications');
flash($ok, $err);
echo '<form method="post" action="notify.php" id="notify">' . csrf_field();
echo '<label>Recipients (comma-separated) <input name="recipients" id="recipients" size="60" value="' . h($s['recipients'] ?? '') . '"></label>';
echo '<label>Sender (empty: arraysuite@this host) <input name="sender" id="sender" value="' . h($s['sender'] ?? '') . '"></label>';
echo '<fieldset><legend>Event classes</legend>';
foreach (Vocab::CLASSES as $k => $v) {
    echo '<label><input type="checkbox" name="classes[]" value="' . $k . '" id="class-' . $k . '"' . (in_array($k, $classes, true) ? ' checked' : '') . '> ' . h($v) . '</label>';
}
echo '</fieldset><fieldset><legend>Severities</legend>';
foreach (Vocab::SEVERITIES as $k => $v) {
    echo '<label><input type="checkbox" name="severities[]" value="' . $k . '" id="severity-' . $k . '"' . (in_array($k, $severities, true) ? ' checked' : '') . '> ' . h($v) . '</label>';
}
echo '</fieldset><button type="submit" id="save-notify">Save</button></form>';
page_foot();
