<?php
declare(strict_types=1);
require_once __DIR__ . '/../lib/layout.php';
require_once __DIR__ . '/../lib/controller.php';
require_once __DIR__ . '/../lib/mailer.php';

require_login();
$ok = $err = null;
if ($_SERVER['REQUEST_METHOD'] === 'POST') {
    require_post();
    try {
        // Mail what is pending first: a cleared event is never mailed.
        if (Mailer::pass() === 'failed') {
            $err = 'The event log was not cleared: the pending notification mail could not be sent.';
        } else {
            Rpc::call('AR_KX_EVT_Reset');
            if (Controller::eventCount() !== 0) {
                $err = 'The event log could not be cleared (the event store files must be writable by the web server\'s account).';
            } else {
                Mailer::record(0);
                $ok = 'The event log was cleared.';
            }
        }
    } catch (RuntimeException $e) {
        $err = $e->getMessage();
    }
}
$perPage = 25;
$total = Controller::eventCount();
$pages = max(1, intdiv($total + $perPage - 1, $perPage));
$page = filter_var($_GET['page'] ?? 1, FILTER_VALIDATE_INT, ['options' => ['min_range' => 1, 'max_range' => $pages]]) ?: 1;
// Newest first: page 1 holds the last $perPage stored events.
$end = $total - ($page - 1) * $perPage;
$start = max(0, $end - $perPage);
$events = array_reverse(Controller::events($start, $end - $start));

page_head('Events');
flash($ok, $err);
echo '<p>' . h($total) . ' stored events, page ' . h($page) . ' of ' . h($pages) . '.</p>';
echo '<table id="events"><tr><th>Time</th><th>Adapter</th><th>Severity</th><th>Class</th><th>Message</th></tr>';
foreach ($events as $e) {
    echo '<tr><td>' . h(trim($e['Time'] ?? '')) . '</td><td>' . h($e['AdapterID'] ?? '') . '</td><td>'
        . h(Vocab::SEVERITIES[(int)($e['Severity'] ?? 0)] ?? ($e['Severity'] ?? '')) . '</td><td>'
        . h(Vocab::CLASSES[(int)($e['Class'] ?? -1)] ?? ($e['Class'] ?? '')) . '</td><td class="msg">' . h($e['Msg'] ?? '') . '</td></tr>';
}
echo '</table><p>';
if ($page > 1) {
    echo '<a href="events.php?page=' . ($page - 1) . '">Newer</a> ';
}
if ($page < $pages) {
    echo '<a href="events.php?page=' . ($page + 1) . '" id="older">Older</a>';
}
echo '</p><form method="post" action="events.php" data-confirm="Clear every stored event?">' . csrf_field()
    . '<button type="submit" id="clear-events">Clear the event log</button></form>';
page_foot();
