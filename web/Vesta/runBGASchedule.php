<?php
// Asked by the daemon (arraywatch) when a schedule is due: starts its
// activity through the module and marks it as run (status 2).
declare(strict_types=1);
require_once __DIR__ . '/../lib/session.php';
require_once __DIR__ . '/../lib/controller.php';
require_once __DIR__ . '/../lib/datafile.php';

require_loopback();
header('Content-Type: text/plain');
$index = is_string($_GET['index'] ?? null) ? $_GET['index'] : '';
if (!preg_match('/^\d{1,9}$/', $index)) {
    http_response_code(400);
    exit;
}
try {
    // Claim the row first: only a schedule the daemon has triggered
    // (status 1) is started, so a repeated request starts nothing twice.
    $row = DataFile::modify(function (DOMDocument $doc) use ($index) {
        $el = DataFile::findSchedule($doc, $index);
        if ($el === null) {
            return null;
        }
        $r = [];
        foreach ($el->childNodes as $f) {
            if ($f instanceof DOMElement) {
                $r[$f->nodeName] = $f->textContent;
            }
        }
        if (($r['status'] ?? '0') !== '1') {
            return null;
        }
        DataFile::setField($el, 'status', '2');
        return $r;
    });
    if ($row === null) {
        http_response_code(404);
        echo "not triggered\n";
        exit;
    }
    $rc = Vocab::startActivity((int)($row['adapter'] ?? 0), (int)($row['object'] ?? 0), (int)($row['bgaType'] ?? 0));
    DataFile::modify(function (DOMDocument $doc) use ($index, $rc) {
        $el = DataFile::findSchedule($doc, $index);
        if ($el !== null) {
            DataFile::setField($el, 'lastResult', (string)$rc);
            DataFile::setField($el, 'lastRun', date('YmdHi'));
        }
    });
    echo $rc === 0 ? "started\n" : "the controller refused: status $rc\n";
} catch (RuntimeException $e) {
    error_log('runBGASchedule: ' . $e->getMessage());
    http_response_code(500);
}
