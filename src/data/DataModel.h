#pragma once

#include "DataSource.h"

#include <functional>

// The three views of the program with their field objects. Each owner window
// calls its Setup function at creation (the objects become its children),
// sets its handlers and opens the view:
//
//   auto view = DataModel::SetupPelanggan(this);
//   view.Pelanggan->OnPostError = [this](TDataSet* d, EDatabaseError& e, TDataAction& a) {
//       PelangganPostError(d, e, a); };
//   view.Pelanggan->Open();
//
// The views and their data sources are registered with ComponentRegistry
// under their window's name ("FormPelanggan", "FormBarang", "FormPenjualan"); Barang's master source
// is resolved there by name (FormPelanggan.dsPelanggan) as soon as both exist.
namespace DataModel {

inline const QString kAlias = QStringLiteral("Dor");

struct PelangganView {
    TTable* Pelanggan;
    TDataSource* dsPelanggan;
    TStringField* PelangganKodePelanggan;
    TStringField* PelangganNamaPelanggan;
    TStringField* PelangganAlamat;
    TStringField* PelangganNoTelepon;
};

struct BarangView {
    TTable* Barang;
    TDataSource* dsBarang;
    TFloatField* BarangNoPesanan;
    TStringField* BarangKodePelanggan;
    TStringField* BarangKodeBarang;
    TStringField* BarangNamaBarang;
    TStringField* BarangJenisBarang;
    TFloatField* BarangHargaSatuan;
    TFloatField* BarangBanyakBarang;
    TStringField* BarangNoFaktur;
    TFloatField* BarangTotalJumlah;
    TFloatField* BarangJumlahHarga;
};

struct PenjualanView {
    TTable* Penjualan;
    TDataSource* dsPenjualan;
    TFloatField* PenjualanNoPesanan;
    TStringField* PenjualanKodePelanggan;
    TStringField* PenjualanKodeBarang;
    TStringField* PenjualanNamaBarang;
    TStringField* PenjualanJenisBarang;
    TFloatField* PenjualanHargaSatuan;
    TFloatField* PenjualanBanyakBarang;
    TStringField* PenjualanNoFaktur;
    TDateField* PenjualanTanggal;
    TFloatField* PenjualanTotalJumlah;
    TCurrencyField* PenjualanJumlahHarga;
};

// The views are created closed, with OnCalcFields computing Jumlah Harga
// (CalcJumlahHarga) where they have it.
PelangganView SetupPelanggan(QObject* owner, const QString& window = QStringLiteral("FormPelanggan"));
BarangView SetupBarang(QObject* owner, const QString& window = QStringLiteral("FormBarang"));
PenjualanView SetupPenjualan(QObject* owner, const QString& window = QStringLiteral("FormPenjualan"));

// A shared view ("Pelanggan", "Barang", "Penjualan") and its data source
// ("ds" + name) as other windows reach them: by the owner window's name
// ("Form" + name) through ComponentRegistry. Null until that window exists.
TTable* SharedView(const QString& name);
TDataSource* SharedSource(const QString& name);

// The three views set up and opened in window creation order, for tools and
// tests that use them without the windows.
struct AllViews {
    PelangganView pelanggan;
    BarangView barang;
    PenjualanView penjualan;
};
AllViews SetupAll(QObject* owner);

// Jumlah Harga = Harga Satuan x Banyak Barang; 0 when either is empty or 0.
void CalcJumlahHarga(TDataSet* view);
void CalcJumlahHarga(const TField* harga, const TField* banyak, TField* jumlah);

// The post-error logic of Pelanggan: on a duplicate key (9729) shows
// "Kode Barang ada yang sama", discards a new record (deleted from the view;
// an edit of a stored record stays open for correction, the stored record
// untouched) and aborts; other errors pass on unchanged.
void PelangganPostError(TDataSet* dataSet, EDatabaseError& error, TDataAction& action,
                        const std::function<void(const QString&)>& showMessage);
// The post-error logic of Barang: on a duplicate key asks "No Pesanan ada
// yang sama"; when confirmed, discards a new record as above; aborts in every case.
void BarangPostError(TDataSet* dataSet, EDatabaseError& error, TDataAction& action,
                     const std::function<bool(const QString&)>& confirm);

}
