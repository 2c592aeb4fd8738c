<?php
// What the overview polls: a text that changes whenever the event store's
// change counters move.
declare(strict_types=1);
require_once __DIR__ . '/../lib/controller.php';
require_once __DIR__ . '/../lib/session.php';
if (current_user() === null) {
    http_response_code(403);
    exit;
}
session_write_close();
header('Content-Type: application/json');
header('Cache-Control: no-store');
echo json_encode(['stamp' => Controller::changeStamp()]);
