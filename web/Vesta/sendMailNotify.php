<?php
// Asked by the daemon on every pass: mails the new events.
declare(strict_types=1);
require_once __DIR__ . '/../lib/session.php';
require_once __DIR__ . '/../lib/mailer.php';

require_loopback();
header('Content-Type: text/plain');
try {
    $result = Mailer::pass();
    echo $result === 'failed' ? "mail failed; kept for the next pass\n" : "$result\n";
} catch (RuntimeException $e) {
    error_log('sendMailNotify: ' . $e->getMessage());
    http_response_code(500);
}
