<?php
// Asked by the daemon (arraywatch) when a schedule is due: starts its
// activity through the module and marks it as run (status 2).
declare(strict_types=1);
require_once __DIR__ . '/../lib/session.php';
require_once __DIR__ . '/../lib/controller.php';
require_once __DIR__ . '/../lib/datafile.php';

require_loopback();
$index = is_string($_GET['index'] ?? null) ? $_GET['index'] : '';
if (!preg_match('/^\d{1,9}$/', $index)) {
    http_response_code(400);
    exit;
}
try {
    $done = DataFile::modify(function (DOMDocument $doc) use ($index) {
        $row = DataFile::findSchedule($doc, $index);
        if ($row === null) {
            return false;
        }
        $r = [];
        foreach ($row->childNodes as $f) {
            if ($f instanceof DOMElement) {
                $r[$f->nodeName] = $f->textContent;
            }
        }
        // Only a schedule the daemon has triggered is started: a request
        // repeated by anyone else starts nothing twice.
        if (($r['status'] ?? '0') !== '1') {
            return false;
        }
        $rc = Vocab::startActivity((int)($r['adapter'] ?? 0), (int)($r['object'] ?? 0), (int)($r['bgaType'] ?? 0));
        DataFile::setField($row, 'status', '2');
        DataFile::setField($row, 'lastResult', (string)$rc);
        DataFile::setField($row, 'lastRun', date('YmdHi'));
        return true;
    });
} catch (RuntimeException $e) {
    error_log('runBGASchedule: ' . $e->getMessage());
    http_response_code(500);
    exit;
}
http_response_code($done ? 200 : 404);
header('Content-Type: text/plain');
echo $done ? "started\n" : "not triggered\n";
